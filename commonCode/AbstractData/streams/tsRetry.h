// Running a system call again when a signal interrupted it.
#pragma once

#include <cerrno>

template <typename Call> auto tsRetryOnInterrupt(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}
