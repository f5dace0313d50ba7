// Builds .lay bytes by hand, independently of the writer under test.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class LayoutBytes
{
public:
    explicit LayoutBytes(std::uint32_t version, std::uint32_t count, bool realGuid = true)
        : m_version(version)
    {
        static constexpr std::array<std::uint8_t, 16> GUID = {0x41, 0xF9, 0xB3, 0x0A, 0x62, 0x93,
                                                              0xD1, 0x11, 0x9A, 0x2B, 0x08, 0x00,
                                                              0x00, 0x30, 0x05, 0x12};
        for (std::uint8_t b : GUID)
            bytes.push_back(realGuid ? b : 0);
        u32(version);
        u32(count);
    }

    LayoutBytes& record(std::uint32_t id, const std::string& name, std::uint32_t gui,
                        std::uint32_t text, float x1, float y1, float x2, float y2)
    {
        u32(id);
        if (name.size() < 255) {
            bytes.push_back(static_cast<std::uint8_t>(name.size()));
        } else if (name.size() < 0xFFFE) {
            bytes.push_back(0xFF);
            bytes.push_back(static_cast<std::uint8_t>(name.size()));
            bytes.push_back(static_cast<std::uint8_t>(name.size() >> 8));
        } else { // a 32-bit length after the marker FF FF FF
            bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF});
            u32(static_cast<std::uint32_t>(name.size()));
        }
        bytes.insert(bytes.end(), name.begin(), name.end());
        u32(gui);
        if (m_version == 2)
            u32(text);
        for (float f : {x1, y1, x2, y2})
            u32(std::bit_cast<std::uint32_t>(f));
        return *this;
    }

    LayoutBytes& u32(std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }

    std::vector<std::uint8_t> bytes;

private:
    std::uint32_t m_version;
};

} // namespace testing_support
