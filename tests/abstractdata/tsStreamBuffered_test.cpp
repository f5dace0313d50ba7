// The file stream's buffered reading (Peek, Consume, BytesLeft) on real files: windows of
// 1 MiB as the layout reader asks for them, records cut by a window's end, records larger than
// a window, and the other operations right after a peek.
#include "streams/tsMemoryStream.h"
#include "streams/tsStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::Bytes;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

constexpr std::uint32_t WINDOW = 1 << 20;

// Records of a length word and that many bytes; each byte tells its record and place apart.
Bytes recordsOfLengths(const std::vector<std::uint32_t>& lengths)
{
    Bytes bytes;
    for (std::size_t r = 0; r < lengths.size(); ++r) {
        const std::uint32_t length = lengths[r];
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(length >> shift));
        for (std::uint32_t i = 0; i < length; ++i)
            bytes.push_back(static_cast<std::uint8_t>(r * 31 + i));
    }
    return bytes;
}

struct Parsed
{
    std::vector<Bytes> records;
    std::vector<std::uint64_t> leftAfterEachWindow;
    bool bytesLeftKnown = true;
};

// Reads the records as the layout reader does: whole ones from each window, and a window of
// exactly the size of a record that no window of 1 MiB holds.
Parsed parse(tsInputStream& stream)
{
    Parsed parsed;
    std::uint32_t wanted = WINDOW;
    for (;;) {
        const std::uint8_t* bytes = nullptr;
        const std::uint32_t available = stream.Peek(bytes, wanted);
        std::uint32_t at = 0;
        wanted = WINDOW;
        while (available - at >= 4) {
            std::uint32_t length = 0;
            std::memcpy(&length, bytes + at, 4);
            if (available - at - 4 < length) {
                wanted = std::max(WINDOW, length + 4);
                break;
            }
            parsed.records.emplace_back(bytes + at + 4, bytes + at + 4 + length);
            at += 4 + length;
        }
        stream.Consume(at);
        std::uint64_t left = 0;
        parsed.bytesLeftKnown = parsed.bytesLeftKnown && stream.BytesLeft(left);
        parsed.leftAfterEachWindow.push_back(left);
        if (available == 0 || (at == 0 && wanted == WINDOW))
            break;
    }
    return parsed;
}

} // namespace

TEST(StreamBuffered, RecordsCutByTheWindowReadAsFromMemory)
{
    // The second record's length word straddles the first window's end; the fourth is larger
    // than a window; many small ones follow, one of them across the next end.
    std::vector<std::uint32_t> lengths = {WINDOW - 6, 50, 700000, WINDOW + WINDOW / 2};
    for (std::uint32_t i = 0; i < 5000; ++i)
        lengths.push_back(i % 397);
    const Bytes bytes = recordsOfLengths(lengths);
    TempDir dir;
    writeFile(dir.file("records"), bytes);

    tsStream file;
    ASSERT_EQ(file.Open(dir.file("records").c_str(), TS_OPEN_READ), S_OK);
    std::uint64_t left = 0;
    ASSERT_TRUE(file.BytesLeft(left));
    EXPECT_EQ(left, bytes.size());
    const Parsed fromFile = parse(file);
    tsMemoryStream memory(bytes.data(), bytes.size());
    const Parsed fromMemory = parse(memory);

    ASSERT_EQ(fromFile.records.size(), lengths.size());
    EXPECT_TRUE(fromFile.records == fromMemory.records) << "the same bytes in the same records";
    EXPECT_TRUE(fromFile.bytesLeftKnown);
    EXPECT_GT(fromFile.leftAfterEachWindow.size(), 4u) << "read in windows, not at once";
    EXPECT_EQ(fromFile.leftAfterEachWindow.back(), 0u);
    // After each window, what is left is the file minus the bytes of the records read so far.
    std::uint64_t consumed = 0;
    std::size_t record = 0;
    for (std::size_t w = 0; w + 1 < fromFile.leftAfterEachWindow.size(); ++w) {
        const std::uint64_t now = bytes.size() - fromFile.leftAfterEachWindow[w];
        while (consumed < now && record < lengths.size())
            consumed += 4 + lengths[record++];
        EXPECT_EQ(consumed, now) << "window " << w << " ends between two records";
    }
    char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1, nullptr), E_FAIL) << "everything was consumed";
}

TEST(StreamBuffered, PeekedBytesStayWhereTheOtherOperationsExpectThem)
{
    std::string text;
    for (int i = 0; text.size() < 200000; ++i)
        text += std::to_string(i % 10);
    TempDir dir;
    const std::string path = dir.file("digits");
    writeFile(path, text);
    const auto at = [&](std::size_t from, std::size_t count) { return text.substr(from, count); };

    tsStream stream;
    const std::uint8_t* bytes = nullptr;
    std::uint64_t left = 0;
    EXPECT_EQ(stream.Peek(bytes, 10), 0u) << "nothing open";
    EXPECT_EQ(bytes, nullptr);
    EXPECT_FALSE(stream.BytesLeft(left));

    ASSERT_EQ(stream.Open(path.c_str(), TS_OPEN_READ | TS_OPEN_WRITE), S_OK);
    ASSERT_GE(stream.Peek(bytes, 10), 10u) << "a peek straight after the open";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 10), at(0, 10));
    char buffer[16] = {};
    ASSERT_EQ(stream.Read(buffer, 3, nullptr), S_OK) << "a peek consumes nothing";
    EXPECT_EQ(std::string(buffer, 3), at(0, 3));
    ASSERT_GE(stream.Peek(bytes, 5), 5u);
    EXPECT_EQ(bytes[0], text[3]);
    stream.Consume(2);
    ASSERT_EQ(stream.Read(buffer, 1, nullptr), S_OK);
    EXPECT_EQ(buffer[0], text[5]);
    ASSERT_EQ(stream.Skip(4), S_OK) << "from the consumed position, not the file's";
    ASSERT_EQ(stream.Read(buffer, 1, nullptr), S_OK);
    EXPECT_EQ(buffer[0], text[10]);
    ASSERT_EQ(stream.Seek(1, -2), S_OK);
    ASSERT_EQ(stream.Read(buffer, 2, nullptr), S_OK);
    EXPECT_EQ(std::string(buffer, 2), at(9, 2));
    ASSERT_TRUE(stream.BytesLeft(left));
    EXPECT_EQ(left, text.size() - 11);

    // More than the read-ahead holds: the window grows, what was there comes first.
    const std::uint32_t got = stream.Peek(bytes, 150000);
    ASSERT_GE(got, 150000u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 150000), at(11, 150000));
    stream.Consume(1);
    ASSERT_EQ(stream.Write("AB", 2), S_OK) << "written where reading stopped";
    stream.Consume(got + 1000);
    ASSERT_TRUE(stream.BytesLeft(left));
    EXPECT_EQ(left, text.size() - 14) << "a consume never goes past the peeked bytes";
    ASSERT_EQ(stream.Read(buffer, 2, nullptr), S_OK);
    EXPECT_EQ(std::string(buffer, 2), at(14, 2));

    ASSERT_EQ(stream.Seek(2, -3), S_OK);
    EXPECT_EQ(stream.Peek(bytes, 10), 3u) << "the file's end";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 3), at(text.size() - 3, 3));
    stream.Consume(3);
    ASSERT_TRUE(stream.BytesLeft(left));
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(stream.Peek(bytes, 10), 0u);
    EXPECT_EQ(stream.Read(buffer, 1, nullptr), E_FAIL);
    stream.Close();

    std::string expected = text;
    expected.replace(12, 2, "AB");
    const Bytes written = testing_support::readFile(path);
    EXPECT_EQ(std::string(written.begin(), written.end()), expected);
}
