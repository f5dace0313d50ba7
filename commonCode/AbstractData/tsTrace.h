// The diagnostic trace: one line per failure where it is tested, formatted in two stages.
#pragma once

#include "tsResult.h"

// Pattern every trace point passes: source path, line, message format.
#define TS_TRACE_PATTERN "%s(%d) : %s"

// Formats pattern with path, line and message format, then that text with the message's own
// arguments, and writes the result to the trace handle in one write. Never fails.
void tsTrace(const char* pattern, const char* sourcePath, int sourceLine, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;

// The process-wide trace handle: a file descriptor, or -1 (the start state) to drop every line.
void tsTraceAttach(int fd);
int tsTraceHandle();

// Attaches the file named by environment variable name: "-" for standard error. A name that
// cannot be opened leaves the handle as it was. Returns whether a handle is attached.
bool tsTraceAttachFromEnvironment(const char* variable);

#define TS_TRACE(format, ...)                                                                      \
    tsTrace(TS_TRACE_PATTERN, __FILE__, __LINE__, format __VA_OPT__(, ) __VA_ARGS__)

// The line of a failing check: "Error: ASSERT_HRESULT(0x%X)", followed by ": " and the
// platform's text when the code carries a platform error.
void tsTraceFailure(const char* sourcePath, int sourceLine, HRESULT code);

// Traces a failing code and leaves it untouched for the caller to pass on.
#define ASSERT_HRESULT(code)                                                                       \
    do {                                                                                           \
        const HRESULT tsAssertCode_ = (code);                                                      \
        if (tsAssertCode_ < 0)                                                                     \
            tsTraceFailure(__FILE__, __LINE__, tsAssertCode_);                                     \
    } while (0)
