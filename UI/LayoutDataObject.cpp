#include "LayoutDataObject.h"

#include "tsTrace.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__linux__)
#include <sys/mman.h>
#endif

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

std::uint32_t littleEndian(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// The longest name a string holds without a block of its own.
const std::size_t INLINE_NAME = tstring().capacity();

// Huge pages for the records where the system has them: a million records are some 70 MB that
// would otherwise arrive 4 KiB at a time, a fault and a cleared page each. Given before the
// first record is written; only whole huge pages inside the storage are advised, so nothing
// around it changes. It is advice: where it is refused, the pages come as before.
void adviseHugePages(const void* storage, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t HUGE_PAGE = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(storage);
    const std::uintptr_t first = (start + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const std::uintptr_t end = (start + bytes) & ~(HUGE_PAGE - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)storage;
    (void)bytes;
#endif
}

// Reads whole records straight from the bytes the stream has buffered: the same values as
// LayoutControl::Read, without a call per field. A record it cannot take whole (cut off, a
// forbidden length marker, a name longer than the buffer) is left for LayoutControl::Read,
// which fails on it with the code and the trace it always gives. chunk is how much to look at
// at once. Returns how many it read.
std::uint32_t readBufferedRecords(tsInputStream* stream, std::uint32_t version, std::uint32_t count,
                                  std::uint32_t chunk, std::vector<LayoutControl>& controls)
{
    const std::uint32_t tailSize = version == 2 ? 24 : 20;
    std::uint32_t done = 0;
    while (done < count) {
        const std::uint8_t* bytes = nullptr;
        const std::uint32_t available = stream->Peek(bytes, chunk);
        std::uint32_t at = 0;
        while (done < count) {
            // id, then the name's length: one byte, or FF and two, or FF FF FF and four.
            if (available - at < 5)
                break;
            const std::uint8_t* record = bytes + at;
            std::uint32_t length = record[4];
            std::uint32_t head = 5;
            if (length == 0xFF) {
                if (available - at < 7)
                    break;
                length = static_cast<std::uint32_t>(record[5]) | record[6] << 8;
                head = 7;
                if (length == 0xFFFE)
                    break;
                if (length == 0xFFFF) {
                    if (available - at < 11)
                        break;
                    length = littleEndian(record + 7);
                    head = 11;
                }
            }
            if (static_cast<std::uint64_t>(available - at) <
                static_cast<std::uint64_t>(head) + length + tailSize)
                break;
            LayoutControl& c = controls.emplace_back();
            c.m_id = littleEndian(record);
            // As ReadString does: a zero byte among the characters ends the name there.
            const char* name = reinterpret_cast<const char*>(record + head);
            const void* zero = std::memchr(name, 0, length);
            const std::size_t size =
                zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - name) : length;
            // A name beyond the string's own buffer gets a block of exactly its size: assigning
            // would double the inline capacity, and with it the heap a million names take.
            if (size <= INLINE_NAME)
                c.m_name.assign(name, size);
            else
                c.m_name = tstring(name, size);
            const std::uint8_t* tail = record + head + length;
            c.m_guiResourceId = littleEndian(tail);
            if (version == 2) {
                c.m_textId = littleEndian(tail + 4);
                tail += 4;
            }
            c.m_x1 = std::bit_cast<float>(littleEndian(tail + 4));
            c.m_y1 = std::bit_cast<float>(littleEndian(tail + 8));
            c.m_x2 = std::bit_cast<float>(littleEndian(tail + 12));
            c.m_y2 = std::bit_cast<float>(littleEndian(tail + 16));
            at += head + length + tailSize;
            ++done;
        }
        stream->Consume(at);
        // Nothing taken from a full buffer means a record the slow way must read.
        if (at == 0)
            break;
    }
    return done;
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
    // A record with a short name goes out in one write: the bytes of the field-by-field form
    // below, a fraction of the calls.
    if (m_name.size() < 255) {
        std::uint8_t bytes[4 + 1 + 254 + 24];
        std::uint8_t* at = bytes;
        const auto put = [&at](std::uint32_t value) {
            at[0] = static_cast<std::uint8_t>(value);
            at[1] = static_cast<std::uint8_t>(value >> 8);
            at[2] = static_cast<std::uint8_t>(value >> 16);
            at[3] = static_cast<std::uint8_t>(value >> 24);
            at += 4;
        };
        put(m_id);
        *at++ = static_cast<std::uint8_t>(m_name.size());
        std::memcpy(at, m_name.data(), m_name.size());
        at += m_name.size();
        put(m_guiResourceId);
        put(m_textId);
        for (float value : {m_x1, m_y1, m_x2, m_y2})
            put(std::bit_cast<std::uint32_t>(value));
        return stream->Write(bytes, static_cast<std::uint32_t>(at - bytes));
    }
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
        // The count alone is not trusted for a reservation: no more than the bytes left can
        // hold, so the list never grows beyond what really arrives.
        std::uint64_t left = 0;
        const bool known = hr >= 0 && stream->BytesLeft(left);
        if (known) {
            const std::uint64_t smallest = 4 + 1 + (version == 2 ? 24 : 20);
            m_controls.reserve(m_controls.size() + static_cast<std::size_t>(std::min<std::uint64_t>(
                                                       count, left / smallest)));
            adviseHugePages(m_controls.data() + m_controls.size(),
                            (m_controls.capacity() - m_controls.size()) * sizeof(LayoutControl));
        }
        // A small file is looked at whole, a large one a slice at a time that stays in the cache
        // while its records are made.
        constexpr std::uint32_t SLICE = 256 << 10;
        const auto chunk =
            static_cast<std::uint32_t>(known ? std::min<std::uint64_t>(SLICE, left) : SLICE);
        for (std::uint32_t i = 0; hr >= 0 && i < count;) {
            i += readBufferedRecords(stream, version, count - i, chunk, m_controls);
            if (i == count)
                break;
            LayoutControl control;
            hr = control.Read(stream, version);
            if (hr >= 0) {
                m_controls.push_back(std::move(control));
                ++i;
            }
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
