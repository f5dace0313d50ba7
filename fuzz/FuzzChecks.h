// Shared by the fuzz targets: records compared bit for bit.
#pragma once

#include "LayoutDataObject.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

inline bool SameBits(const LayoutControl& a, const LayoutControl& b)
{
    return std::bit_cast<std::uint32_t>(a.m_x1) == std::bit_cast<std::uint32_t>(b.m_x1) &&
           std::bit_cast<std::uint32_t>(a.m_x2) == std::bit_cast<std::uint32_t>(b.m_x2) &&
           std::bit_cast<std::uint32_t>(a.m_y1) == std::bit_cast<std::uint32_t>(b.m_y1) &&
           std::bit_cast<std::uint32_t>(a.m_y2) == std::bit_cast<std::uint32_t>(b.m_y2) &&
           a.m_name == b.m_name && a.m_id == b.m_id && a.m_guiResourceId == b.m_guiResourceId &&
           a.m_textId == b.m_textId;
}

// Stops the run so the fuzzer keeps the input that got here.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}
