// Gathers many small writes into few large ones on another output stream.
#pragma once

#include "tsStream.h"

#include <cstddef>
#include <vector>

// Writes land in memory and go to the target when the buffer is full or on Flush, so a
// failure of the target may show at a later Write or at Flush: a caller that saves must
// Flush and check its result before it trusts the file. Once a target write has failed,
// every later call returns that failure.
class tsBufferedOutputStream : public tsOutputStream
{
public:
    explicit tsBufferedOutputStream(tsOutputStream* target, std::size_t capacity = 1 << 20);
    HRESULT Write(const void* buffer, std::uint32_t size) override;
    HRESULT Flush();

private:
    tsOutputStream* m_target;
    std::size_t m_capacity;
    std::vector<char> m_buffer;
    HRESULT m_failure = S_OK;
};
