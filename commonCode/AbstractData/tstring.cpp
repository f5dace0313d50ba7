#include "tstring.h"

#include "tsTrace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint8_t WIDE_MARKER = 0xFF;
constexpr std::uint16_t LONG_MARKER = 0xFFFF;
constexpr std::uint16_t FORBIDDEN_MARKER = 0xFFFE;

// Characters arrive in chunks of this size so that memory grows with the bytes that are
// really there, not with what a (possibly broken) prefix claims.
constexpr std::uint32_t READ_CHUNK = 64 * 1024;

HRESULT writeLittleEndian(tsOutputStream* stream, std::uint32_t value, std::uint32_t size)
{
    std::uint8_t bytes[4];
    for (std::uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return stream->Write(bytes, size);
}

HRESULT readLittleEndian(tsInputStream* stream, std::uint32_t& value, std::uint32_t size)
{
    std::uint8_t bytes[4] = {};
    HRESULT hr = stream->Read(bytes, size, nullptr);
    if (hr < 0)
        return hr;
    value = 0;
    for (std::uint32_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return S_OK;
}

HRESULT readLength(tsInputStream* stream, std::uint32_t& length)
{
    std::uint32_t value = 0;
    HRESULT hr = readLittleEndian(stream, value, 1);
    if (hr < 0 || value < WIDE_MARKER) {
        length = value;
        return hr;
    }
    hr = readLittleEndian(stream, value, 2);
    if (hr < 0)
        return hr;
    if (value == FORBIDDEN_MARKER)
        return E_FAIL;
    if (value == LONG_MARKER)
        return readLittleEndian(stream, length, 4);
    length = value;
    return S_OK;
}

// Reads the characters into text, chunk by chunk as they arrive.
HRESULT readCharacters(tsInputStream* stream, std::uint32_t length, tstring& text)
{
    // n + 1 bytes would wrap around for the largest length: no such buffer can be had.
    if (length == UINT32_MAX)
        return E_OUTOFMEMORY;
    std::uint32_t done = 0;
    while (done < length) {
        const std::uint32_t chunk = std::min(READ_CHUNK, length - done);
        text.resize(std::size_t{done} + chunk);
        HRESULT hr = stream->Read(text.data() + done, chunk, nullptr);
        if (hr < 0)
            return hr;
        done += chunk;
    }
    return S_OK;
}

} // namespace

HRESULT WriteString(const tstring& string, tsOutputStream* stream)
{
    const std::size_t length = string.size();
    HRESULT hr = S_OK;
    if (length < WIDE_MARKER) {
        hr = writeLittleEndian(stream, static_cast<std::uint32_t>(length), 1);
    } else {
        hr = writeLittleEndian(stream, WIDE_MARKER, 1);
        if (hr >= 0 && length < FORBIDDEN_MARKER) {
            hr = writeLittleEndian(stream, static_cast<std::uint32_t>(length), 2);
        } else if (hr >= 0) {
            hr = writeLittleEndian(stream, LONG_MARKER, 2);
            if (hr >= 0)
                hr = writeLittleEndian(stream, static_cast<std::uint32_t>(length), 4);
        }
    }
    if (hr >= 0 && length > 0)
        hr = stream->Write(string.data(), static_cast<std::uint32_t>(length));
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT ReadString(tstring& string, tsInputStream* stream)
{
    std::uint32_t length = 0;
    tstring text; // the string itself changes only once every character has arrived
    HRESULT hr = readLength(stream, length);
    if (hr >= 0)
        hr = readCharacters(stream, length, text);
    if (hr < 0) {
        ASSERT_HRESULT(hr);
        return hr;
    }
    // A zero byte among the characters ends the string there.
    const std::size_t end = text.find('\0');
    if (end != tstring::npos)
        text.resize(end);
    string = std::move(text);
    return S_OK;
}
