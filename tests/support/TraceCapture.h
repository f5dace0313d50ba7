// Attaches a temporary file as the trace handle for the life of the object.
#pragma once

#include "tsTrace.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace testing_support {

class TraceCapture
{
public:
    TraceCapture() : m_file(std::tmpfile()), m_previous(tsTraceHandle())
    {
        tsTraceAttach(::fileno(m_file));
    }
    ~TraceCapture()
    {
        tsTraceAttach(m_previous);
        std::fclose(m_file);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::string text() const
    {
        std::string all;
        char chunk[4096];
        off_t offset = 0;
        for (ssize_t got; (got = ::pread(::fileno(m_file), chunk, sizeof chunk, offset)) > 0;
             offset += got)
            all.append(chunk, static_cast<std::size_t>(got));
        return all;
    }

private:
    std::FILE* m_file;
    int m_previous;
};

} // namespace testing_support
