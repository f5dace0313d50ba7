#include "tsResult.h"

#include <cerrno>
#include <cstring>

namespace {

// strerror_r comes in two shapes: the XSI one fills the buffer, the GNU one may return a
// static text instead.
[[maybe_unused]] const char* chosenText(int result, const char* buffer)
{
    return result == 0 ? buffer : "";
}
[[maybe_unused]] const char* chosenText(const char* result, const char*)
{
    return result ? result : "";
}

} // namespace

HRESULT tsLastErrorResult()
{
#ifdef _WIN32
    return HRESULT_FROM_WIN32(GetLastError());
#else
    return HRESULT_FROM_WIN32(static_cast<std::uint32_t>(errno));
#endif
}

int tsSystemErrorOf(HRESULT hr)
{
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & 0xFFFF0000u) != 0x80070000u || hr == E_INVALIDARG || hr == E_OUTOFMEMORY)
        return 0;
    return static_cast<int>(bits & 0xFFFFu);
}

std::string tsSystemErrorText(int error)
{
    char buffer[256] = {};
#ifdef _WIN32
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(error), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
#else
    std::string text = chosenText(::strerror_r(error, buffer, sizeof buffer), buffer);
#endif
    if (text.empty())
        text = "system error " + std::to_string(error);
    return text;
}

std::string tsResultText(HRESULT hr)
{
    if (const int error = tsSystemErrorOf(hr))
        return tsSystemErrorText(error);
    switch (hr) {
    case TS_E_NOT_REGULAR_FILE:
        return "not a regular file";
    case E_UNEXPECTED:
        return "no file is open";
    case E_NOTIMPL:
        return "not supported";
    case E_INVALIDARG:
        return "invalid argument";
    case E_OUTOFMEMORY:
        return "out of memory";
    default:
        return "";
    }
}
