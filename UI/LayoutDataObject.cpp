#include "LayoutDataObject.h"

#include "tsTrace.h"

#include <bit>
#include <cstring>

namespace {

// Every number in the file is little-endian, whatever the host.
HRESULT writeUInt32(tsOutputStream* stream, std::uint32_t value)
{
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return stream->Write(bytes, 4);
}

HRESULT readUInt32(tsInputStream* stream, std::uint32_t& value)
{
    std::uint8_t bytes[4];
    HRESULT hr = stream->Read(bytes, 4, nullptr);
    if (hr >= 0)
        value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                static_cast<std::uint32_t>(bytes[2]) << 16 |
                static_cast<std::uint32_t>(bytes[3]) << 24;
    return hr;
}

// Floats travel as their 32 bits, never through double, so every pattern survives.
HRESULT writeFloat(tsOutputStream* stream, float value)
{
    return writeUInt32(stream, std::bit_cast<std::uint32_t>(value));
}

} // namespace

HRESULT LayoutControl::Read(tsInputStream* stream, std::uint32_t version)
{
    HRESULT hr = readUInt32(stream, m_id);
    if (hr >= 0)
        hr = ReadString(m_name, stream);
    if (hr < 0)
        return hr;
    // The fixed fields after the name arrive in one read: the same bytes and the same failure
    // for a file that ends among them, a fraction of the calls.
    const std::uint32_t size = version == 2 ? 24 : 20;
    std::uint8_t tail[24];
    hr = stream->Read(tail, size, nullptr);
    if (hr < 0)
        return hr;
    const std::uint8_t* at = tail;
    const auto next = [&at] {
        const std::uint32_t value =
            static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
            static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
        at += 4;
        return value;
    };
    m_guiResourceId = next();
    if (version == 2)
        m_textId = next();
    m_x1 = std::bit_cast<float>(next());
    m_y1 = std::bit_cast<float>(next());
    m_x2 = std::bit_cast<float>(next());
    m_y2 = std::bit_cast<float>(next());
    return S_OK;
}

HRESULT LayoutControl::Write(tsOutputStream* stream) const
{
    HRESULT hr = writeUInt32(stream, m_id);
    if (hr >= 0)
        hr = WriteString(m_name, stream);
    if (hr >= 0)
        hr = writeUInt32(stream, m_guiResourceId);
    if (hr >= 0)
        hr = writeUInt32(stream, m_textId);
    if (hr >= 0)
        hr = writeFloat(stream, m_x1);
    if (hr >= 0)
        hr = writeFloat(stream, m_y1);
    if (hr >= 0)
        hr = writeFloat(stream, m_x2);
    if (hr >= 0)
        hr = writeFloat(stream, m_y2);
    return hr;
}

HRESULT LayoutDataObject::Read(tsInputStream* stream)
{
    std::uint8_t guid[16];
    // The GUID is read but not compared: files are known by their version.
    HRESULT hr = stream->Read(guid, sizeof guid, nullptr);
    std::uint32_t version = 0;
    if (hr >= 0)
        hr = readUInt32(stream, version);
    if (version == 1 || version == 2) {
        std::uint32_t count = 0;
        hr = readUInt32(stream, count);
        // The count is not trusted for a reservation: the list grows with the records that
        // really arrive.
        for (std::uint32_t i = 0; hr >= 0 && i < count; ++i) {
            LayoutControl control;
            hr = control.Read(stream, version);
            if (hr >= 0)
                m_controls.push_back(std::move(control));
        }
    } else {
        TS_TRACE("Not supported file version.\n");
        // Reporting success here would show an empty layout that a save then writes over
        // the user's file.
        if (hr >= 0)
            hr = E_FAIL;
    }
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT LayoutDataObject::Write(tsOutputStream* stream) const
{
    HRESULT hr =
        stream->Write(LAYOUT_FILE_GUID.data(), static_cast<std::uint32_t>(LAYOUT_FILE_GUID.size()));
    if (hr >= 0)
        hr = writeUInt32(stream, LAYOUT_FILE_VERSION);
    if (hr >= 0)
        hr = writeUInt32(stream, static_cast<std::uint32_t>(m_controls.size()));
    for (std::size_t i = 0; hr >= 0 && i < m_controls.size(); ++i)
        hr = m_controls[i].Write(stream);
    return hr;
}
