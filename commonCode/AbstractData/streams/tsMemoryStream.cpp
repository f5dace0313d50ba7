#include "tsMemoryStream.h"

#include "../tsTrace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

tsMemoryStream::tsMemoryStream(const void* data, std::size_t size)
    : m_bytes(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size)
{
}

HRESULT tsMemoryStream::Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead)
{
    const std::size_t available = m_bytes.size() - std::min(m_position, m_bytes.size());
    const std::size_t count = std::min<std::size_t>(size, available);
    if (count > 0)
        std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    if (bytesRead)
        *bytesRead = static_cast<std::uint32_t>(count);
    HRESULT hr = count == size ? S_OK : E_FAIL;
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT tsMemoryStream::Skip(std::uint64_t count)
{
    // Like the file stream: the position moves by the low half as a signed distance, and a
    // count of 2^32 or more is refused after that move.
    const auto distance = static_cast<std::int32_t>(static_cast<std::uint32_t>(count));
    HRESULT hr = S_OK;
    if (distance < 0 && static_cast<std::size_t>(-static_cast<std::int64_t>(distance)) > m_position)
        hr = E_INVALIDARG;
    else
        m_position = static_cast<std::size_t>(static_cast<std::int64_t>(m_position) + distance);
    if ((count >> 32) != 0)
        hr = E_NOTIMPL;
    ASSERT_HRESULT(hr);
    return hr;
}

std::uint32_t tsMemoryStream::Peek(const std::uint8_t*& bytes, std::uint32_t)
{
    // Every byte is here already.
    const std::size_t at = std::min(m_position, m_bytes.size());
    bytes = m_bytes.data() + at;
    return static_cast<std::uint32_t>(std::min<std::size_t>(m_bytes.size() - at, UINT32_MAX));
}

void tsMemoryStream::Consume(std::uint32_t count)
{
    m_position = std::min(m_position + count, std::max(m_position, m_bytes.size()));
}

bool tsMemoryStream::BytesLeft(std::uint64_t& left)
{
    left = m_bytes.size() - std::min(m_position, m_bytes.size());
    return true;
}

HRESULT tsMemoryStream::Write(const void* buffer, std::uint32_t size)
{
    if (size > 0) {
        if (m_bytes.size() < m_position + size)
            m_bytes.resize(m_position + size);
        std::memcpy(m_bytes.data() + m_position, buffer, size);
        m_position += size;
    }
    return S_OK;
}
