// Files far larger than the reader's slice of the stream: every record arrives exactly, and the
// records and their names take the memory they need, in the pages meant for them.
#include "LayoutFile.h"
#include "streams/tsMemoryStream.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <sstream>

using testing_support::LayoutBytes;

namespace {

constexpr std::uint32_t COUNT = 60000;

// Names of 0 to 40 characters, now and then one with a zero byte inside, with a 3-byte or a
// 7-byte length, or longer than a slice of the stream.
std::string nameOf(std::uint32_t i)
{
    if (i == 1234)
        return std::string(300000, 'S');
    if (i == 40000)
        return std::string(70000, 'L');
    if (i % 997 == 0)
        return std::string(300 + i % 50, 'M');
    std::string name = "N" + std::to_string(i) + std::string(i % 31, 'X');
    if (i % 101 == 0)
        name[name.size() / 2] = '\0';
    return name;
}

LayoutControl expected(std::uint32_t i, std::uint32_t version)
{
    LayoutControl c;
    c.m_id = i;
    const std::string name = nameOf(i);
    c.m_name = name.substr(0, name.find('\0')); // a zero byte ends a name
    c.m_guiResourceId = i * 7;
    c.m_textId = version == 2 ? i * 3 : 0;
    c.m_x1 = static_cast<float>(i % 800) + 0.25f;
    c.m_y1 = -static_cast<float>(i % 600);
    c.m_x2 = std::bit_cast<float>(0x7FC00000u | i); // a NaN payload per record
    c.m_y2 = static_cast<float>(i) * 1e30f;
    return c;
}

testing_support::Bytes fileBytes(std::uint32_t version)
{
    LayoutBytes bytes(version, COUNT);
    for (std::uint32_t i = 0; i < COUNT; ++i) {
        const LayoutControl c = expected(i, version);
        bytes.record(i, nameOf(i), c.m_guiResourceId, c.m_textId, c.m_x1, c.m_y1, c.m_x2, c.m_y2);
    }
    return bytes.bytes;
}

// The flags of the mapping that holds address, from /proc/self/smaps; empty where none is told.
std::string mappingFlags(const void* address)
{
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t start = 0, end = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> start >> dash >> end && dash == '-')
            inside = start <= at && at < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0)
            return line;
    }
    return {};
}

} // namespace

TEST(LargeFiles, EveryRecordArrivesAcrossTheSlicesOfTheStream)
{
    testing_support::TempDir dir;
    for (std::uint32_t version : {1u, 2u}) {
        const std::string path = dir.file("large.lay");
        const testing_support::Bytes full = fileBytes(version);
        testing_support::writeFile(path, full);
        ASSERT_GT(std::filesystem::file_size(path), 2u << 20);
        LayoutDataObject layout;
        ASSERT_EQ(LoadLayoutFile(layout, path.c_str()), S_OK) << version;
        ASSERT_EQ(layout.m_controls.size(), COUNT);
        for (std::uint32_t i = 0; i < COUNT; ++i)
            ASSERT_TRUE(IdenticalRecords(layout.m_controls[i], expected(i, version)))
                << "version " << version << ", record " << i;

        // Cut anywhere, the file reads as the same bytes read from memory: the records before
        // the cut, and the failure.
        for (std::size_t cut = full.size() - 3; cut > 24;
             cut -= std::min<std::size_t>(cut, 300007)) {
            const testing_support::Bytes bytes(full.begin(),
                                               full.begin() + static_cast<std::ptrdiff_t>(cut));
            testing_support::writeFile(path, bytes);
            LayoutDataObject fromFile, fromMemory;
            tsMemoryStream memory{testing_support::Bytes(bytes)};
            EXPECT_EQ(LoadLayoutFile(fromFile, path.c_str()), E_FAIL) << cut;
            EXPECT_EQ(fromMemory.Read(&memory), E_FAIL) << cut;
            EXPECT_TRUE(IdenticalRecords(fromFile.m_controls, fromMemory.m_controls)) << cut;
            if (cut == full.size() - 3) {
                EXPECT_EQ(fromFile.m_controls.size(), COUNT - 1);
            }
        }
    }
}

// Memory after a load is what the records need: a name beyond the string's own buffer takes a
// block of its size, not the doubled capacity an assignment gives, and the records' storage is
// marked for huge pages before they are written, so it does not arrive a small page at a time.
TEST(LargeFiles, RecordsAndNamesTakeTheMemoryTheyNeed)
{
    testing_support::TempDir dir;
    const std::string path = dir.file("large.lay");
    testing_support::writeFile(path, fileBytes(2));
    LayoutDataObject layout;
    ASSERT_EQ(LoadLayoutFile(layout, path.c_str()), S_OK);

    const std::size_t inline_ = tstring().capacity();
    std::size_t longNames = 0;
    for (const LayoutControl& c : layout.m_controls)
        // A name longer than a slice of the stream is read piecewise, as its bytes arrive.
        if (c.m_name.size() > inline_ && c.m_name.size() < 100000) {
            ++longNames;
            ASSERT_EQ(c.m_name.capacity(), c.m_name.size()) << c.m_name.substr(0, 40);
        }
    EXPECT_GT(longNames, COUNT / 3);

    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled"))
        GTEST_SKIP() << "this system has no transparent huge pages";
    // Storage of 4 MiB or more holds at least one whole 2 MiB page.
    const std::size_t bytes = layout.m_controls.capacity() * sizeof(LayoutControl);
    ASSERT_GE(bytes, 4u << 20);
    const auto start = reinterpret_cast<std::uintptr_t>(layout.m_controls.data());
    const std::uintptr_t page = (start + (2u << 20) - 1) & ~std::uintptr_t{(2u << 20) - 1};
    const std::string flags = mappingFlags(reinterpret_cast<const void*>(page));
    ASSERT_FALSE(flags.empty()) << "no mapping told for the records";
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}
