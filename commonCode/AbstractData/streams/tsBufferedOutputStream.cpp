#include "tsBufferedOutputStream.h"

#include "../tsTrace.h"

#include <algorithm>
#include <cstring>

tsBufferedOutputStream::tsBufferedOutputStream(tsOutputStream* target, std::size_t capacity)
    : m_target(target), m_capacity(capacity)
{
    m_buffer.reserve(capacity);
}

HRESULT tsBufferedOutputStream::Write(const void* buffer, std::uint32_t size)
{
    if (m_failure < 0)
        return m_failure;
    const auto* bytes = static_cast<const char*>(buffer);
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    return m_buffer.size() >= m_capacity ? Flush() : S_OK;
}

HRESULT tsBufferedOutputStream::Flush()
{
    if (m_failure < 0)
        return m_failure;
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::size_t>(m_buffer.size() - done, 1u << 30));
        const HRESULT hr = m_target->Write(m_buffer.data() + done, chunk);
        if (hr < 0) {
            m_failure = hr;
            ASSERT_HRESULT(hr);
            return hr;
        }
        done += chunk;
    }
    m_buffer.clear();
    return S_OK;
}
