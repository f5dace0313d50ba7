#include "tsTrace.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>

#ifdef _WIN32
#include <io.h>
#define ts_write _write
#define ts_open _open
#else
#include <unistd.h>
#define ts_write ::write
#define ts_open ::open
#endif

namespace {

constexpr std::size_t BUFFER_SIZE = 1024;
std::atomic<int> g_traceHandle{-1};

// Copies text into out with every percent sign doubled, so stage two prints it literally
// instead of reading an argument that was never passed.
void escapePercents(const char* text, char* out, std::size_t outSize)
{
    std::size_t used = 0;
    for (; *text && used + 1 < outSize; ++text) {
        if (*text == '%') {
            if (used + 2 >= outSize)
                break;
            out[used++] = '%';
        }
        out[used++] = *text;
    }
    out[used] = '\0';
}

// A cut in stage one can leave a lone '%' at the very end, which would start a conversion
// with nothing after it. Drop it when the trailing run of percent signs is odd.
void dropDanglingPercent(char* text)
{
    std::size_t length = std::strlen(text);
    std::size_t run = 0;
    while (run < length && text[length - 1 - run] == '%')
        ++run;
    if (run % 2 == 1)
        text[length - 1] = '\0';
}

} // namespace

void tsTrace(const char* pattern, const char* sourcePath, int sourceLine, const char* format, ...)
{
    char escapedPath[BUFFER_SIZE];
    escapePercents(sourcePath ? sourcePath : "", escapedPath, sizeof escapedPath);

    char stageOne[BUFFER_SIZE];
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    int wanted = std::snprintf(stageOne, sizeof stageOne, pattern, escapedPath, sourceLine, format);
    if (wanted < 0)
        return;
    if (static_cast<std::size_t>(wanted) >= sizeof stageOne)
        dropDanglingPercent(stageOne);

    char stageTwo[BUFFER_SIZE];
    va_list arguments;
    va_start(arguments, format);
    int produced = std::vsnprintf(stageTwo, sizeof stageTwo, stageOne, arguments);
    va_end(arguments);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (produced < 0)
        return;
    std::size_t length = std::strlen(stageTwo);

    const int handle = g_traceHandle.load(std::memory_order_relaxed);
    if (handle < 0)
        return;
    // One write; its outcome does not matter to anybody.
    [[maybe_unused]] auto ignored = ts_write(handle, stageTwo, static_cast<unsigned>(length));
}

void tsTraceFailure(const char* sourcePath, int sourceLine, HRESULT code)
{
    // A code that carries a platform error says which one, so a trace names the cause.
    const int error = tsSystemErrorOf(code);
    const std::string cause = error ? ": " + tsSystemErrorText(error) : std::string();
    tsTrace(TS_TRACE_PATTERN, sourcePath, sourceLine, "Error: ASSERT_HRESULT(0x%X)%s\n",
            static_cast<unsigned>(code), cause.c_str());
}

void tsTraceAttach(int fd)
{
    g_traceHandle.store(fd, std::memory_order_relaxed);
}

int tsTraceHandle()
{
    return g_traceHandle.load(std::memory_order_relaxed);
}

bool tsTraceAttachFromEnvironment(const char* variable)
{
    const char* name = std::getenv(variable);
    if (!name || !*name)
        return tsTraceHandle() >= 0;
    if (std::strcmp(name, "-") == 0) {
        tsTraceAttach(2);
        return true;
    }
    int fd = ts_open(name,
                     O_WRONLY | O_CREAT | O_APPEND
#ifndef _WIN32
                         | O_CLOEXEC
#endif
                     ,
                     0644);
    if (fd < 0)
        return tsTraceHandle() >= 0;
    tsTraceAttach(fd);
    return true;
}
