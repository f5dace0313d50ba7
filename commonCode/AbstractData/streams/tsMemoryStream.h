// A stream over a byte buffer, with the result codes and counts of the file stream.
#pragma once

#include "tsStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class tsMemoryStream : public tsInputStream, public tsOutputStream
{
public:
    tsMemoryStream() = default;
    explicit tsMemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    tsMemoryStream(const void* data, std::size_t size);

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) override;
    HRESULT Skip(std::uint64_t count) override;
    std::uint32_t Peek(const std::uint8_t*& bytes, std::uint32_t wanted) override;
    void Consume(std::uint32_t count) override;
    bool BytesLeft(std::uint64_t& left) override;
    // Writes at the current position, growing the buffer as needed.
    HRESULT Write(const void* buffer, std::uint32_t size) override;

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::size_t Position() const { return m_position; }
    void Rewind() { m_position = 0; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};
