// A layout: the ordered list of controls on the 800 by 600 screen, and its .lay file form.
#pragma once

#include "streams/tsStream.h"
#include "tsResult.h"
#include "tstring.h"

#include <array>
#include <cstdint>
#include <vector>

// {0AB3F941-9362-11D1-9A2B-080000300512} in the usual GUID byte order.
inline constexpr std::array<std::uint8_t, 16> LAYOUT_FILE_GUID = {
    0x41, 0xF9, 0xB3, 0x0A, 0x62, 0x93, 0xD1, 0x11, 0x9A, 0x2B, 0x08, 0x00, 0x00, 0x30, 0x05, 0x12};
inline constexpr std::uint32_t LAYOUT_FILE_VERSION = 2;

class LayoutControl
{
public:
    LayoutControl() = default;
    LayoutControl(const LayoutControl&) = default;
    LayoutControl& operator=(const LayoutControl&) = default;
    LayoutControl(LayoutControl&&) noexcept = default;
    LayoutControl& operator=(LayoutControl&&) noexcept = default;
    virtual ~LayoutControl() = default;

    // One record in the form of the given file version; a field not read keeps its value.
    virtual HRESULT Read(tsInputStream* stream, std::uint32_t version);
    // One record, always in the version-2 form.
    virtual HRESULT Write(tsOutputStream* stream) const;

    // The rectangle is held x first, then y: not the order of the file. It is never
    // normalised, so the second corner may lie left of or above the first.
    float m_x1 = 0.0f;
    float m_x2 = 0.0f;
    float m_y1 = 0.0f;
    float m_y2 = 0.0f;
    tstring m_name;
    std::uint32_t m_id = 0;
    std::uint32_t m_guiResourceId = 0;
    std::uint32_t m_textId = 0;
};

class LayoutDataObject
{
public:
    LayoutDataObject() = default;
    LayoutDataObject(const LayoutDataObject&) = default;
    LayoutDataObject& operator=(const LayoutDataObject&) = default;
    virtual ~LayoutDataObject() = default;

    // Appends the records of a .lay file; the list is not cleared first. A version other
    // than 1 or 2 appends nothing and fails.
    virtual HRESULT Read(tsInputStream* stream);
    // Head, version 2, count and every record.
    virtual HRESULT Write(tsOutputStream* stream) const;

    std::vector<LayoutControl> m_controls;
};
