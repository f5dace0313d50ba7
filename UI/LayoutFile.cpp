#include "LayoutFile.h"

#include "streams/tsBufferedOutputStream.h"
#include "streams/tsSafeSave.h"

#include <algorithm>
#include <bit>

HRESULT LoadLayoutFile(LayoutDataObject& layout, const char* path, int* systemError)
{
    tsStream stream;
    HRESULT hr = stream.Open(path, TS_OPEN_READ);
    if (hr >= 0)
        hr = layout.Read(&stream);
    if (systemError)
        *systemError = hr < 0 ? stream.SystemError() : 0;
    return hr;
}

bool ReadLayoutVersion(const char* path, std::uint32_t& version)
{
    tsStream stream;
    std::uint8_t head[20];
    std::uint32_t read = 0;
    if (stream.Open(path, TS_OPEN_READ) < 0 || stream.Read(head, sizeof head, &read) < 0 ||
        read != sizeof head)
        return false;
    version = static_cast<std::uint32_t>(head[16]) | static_cast<std::uint32_t>(head[17]) << 8 |
              static_cast<std::uint32_t>(head[18]) << 16 |
              static_cast<std::uint32_t>(head[19]) << 24;
    return true;
}

HRESULT SaveLayoutFile(const LayoutDataObject& layout, const char* path, int* systemError)
{
    tsSafeSave save;
    HRESULT hr = save.Begin(path);
    // Many small writes gathered into few; the flush reports what the disk refused.
    tsBufferedOutputStream buffered(save.Stream());
    if (hr >= 0)
        hr = layout.Write(&buffered);
    if (hr >= 0)
        hr = buffered.Flush();
    if (hr >= 0)
        hr = save.Commit();
    if (systemError)
        *systemError = hr < 0 ? save.SystemError() : 0;
    return hr; // an uncommitted save is abandoned with its object
}

bool IdenticalRecords(const LayoutControl& a, const LayoutControl& b)
{
    const auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    return bits(a.m_x1) == bits(b.m_x1) && bits(a.m_x2) == bits(b.m_x2) &&
           bits(a.m_y1) == bits(b.m_y1) && bits(a.m_y2) == bits(b.m_y2) && a.m_name == b.m_name &&
           a.m_id == b.m_id && a.m_guiResourceId == b.m_guiResourceId && a.m_textId == b.m_textId;
}

bool IdenticalRecords(const std::vector<LayoutControl>& a, const std::vector<LayoutControl>& b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const LayoutControl& x, const LayoutControl& y) { return IdenticalRecords(x, y); });
}
