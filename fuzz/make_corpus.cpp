// Writes the seed corpus: valid files of both versions, broken ones, long names and every
// width of the string prefix.
#include "LayoutDataObject.h"
#include "streams/tsMemoryStream.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void save(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes layoutBytes(const LayoutDataObject& layout)
{
    tsMemoryStream stream;
    layout.Write(&stream);
    return stream.Bytes();
}

LayoutControl control(std::uint32_t id, const std::string& name, float x1, float y1, float x2,
                      float y2)
{
    LayoutControl c;
    c.m_id = id;
    c.m_name = name;
    c.m_x1 = x1;
    c.m_y1 = y1;
    c.m_x2 = x2;
    c.m_y2 = y2;
    c.m_guiResourceId = id * 3;
    c.m_textId = id * 5;
    return c;
}

// The version-2 bytes turned into version 1: the text ids dropped from every record.
Bytes asVersionOne(const LayoutDataObject& layout)
{
    Bytes bytes = layoutBytes(LayoutDataObject());
    bytes[16] = 1;
    bytes.resize(20);
    const auto count = static_cast<std::uint32_t>(layout.m_controls.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    for (const LayoutControl& c : layout.m_controls) {
        tsMemoryStream record;
        c.Write(&record);
        Bytes r = record.Bytes();
        const std::size_t nameEnd = r.size() - 20; // id and name, then gui, text id, 4 floats
        Bytes v1(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(nameEnd + 4));
        v1.insert(v1.end(), r.begin() + static_cast<std::ptrdiff_t>(nameEnd + 8), r.end());
        bytes.insert(bytes.end(), v1.begin(), v1.end());
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_corpus LAY_FOLDER STRING_FOLDER\n");
        return 2;
    }
    const std::filesystem::path lay = argv[1];
    const std::filesystem::path strings = argv[2];

    LayoutDataObject three;
    three.m_controls = {control(0, "UNBENANNT0", 10, 20, 110, 70),
                        control(1, "OK_BUTTON", 300, 200, 100, 50),
                        control(2, "", -25.5f, 1e-45f, 3.4e38f, -0.0f)};
    save(lay, "empty-v2.lay", layoutBytes(LayoutDataObject()));
    save(lay, "three-v2.lay", layoutBytes(three));
    save(lay, "three-v1.lay", asVersionOne(three));
    Bytes cut = layoutBytes(three);
    cut.resize(cut.size() - 7);
    save(lay, "cut-v2.lay", cut);
    Bytes v3 = layoutBytes(three);
    v3[16] = 3;
    save(lay, "version3.lay", v3);

    LayoutDataObject longNames;
    longNames.m_controls = {control(0, std::string(254, 'A'), 0, 0, 1, 1),
                            control(1, std::string(255, 'B'), 0, 0, 1, 1),
                            control(2, std::string(70000, 'C'), 0, 0, 1, 1)};
    save(lay, "long-names-v2.lay", layoutBytes(longNames));

    Bytes marker = layoutBytes(three);
    marker[28] = 0xFF;
    marker[29] = 0xFE;
    save(lay, "forbidden-marker.lay", marker);

    Bytes hugeCount = layoutBytes(LayoutDataObject());
    hugeCount[20] = hugeCount[21] = hugeCount[22] = hugeCount[23] = 0xFF;
    save(lay, "huge-count.lay", hugeCount);

    for (std::size_t length : {0u, 9u, 254u, 255u, 65533u, 65534u}) {
        tsMemoryStream stream;
        WriteString(std::string(length, 'x'), &stream);
        save(strings, "length-" + std::to_string(length), stream.Bytes());
    }
    save(strings, "short-prefix", {0xFF, 0x05, 0x00, 'a', 'b', 'c', 'd', 'e'});
    save(strings, "inner-zero", {0x03, 0x41, 0x00, 0x42});
    save(strings, "forbidden", {0xFF, 0xFE, 0xFF});
    save(strings, "huge", {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'z'});
    return 0;
}
