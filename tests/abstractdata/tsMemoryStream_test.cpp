#include "streams/tsBufferedOutputStream.h"
#include "streams/tsMemoryStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

TEST(MemoryStream, CountsAndCodesMatchTheFileStream)
{
    tsMemoryStream stream(
        std::vector<std::uint8_t>{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    char buffer[16];
    std::uint32_t count = 0;
    EXPECT_EQ(stream.Read(buffer, 0, &count), S_OK);
    EXPECT_EQ(stream.Read(buffer, 4, &count), S_OK);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(stream.Read(buffer, 16, &count), E_FAIL);
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(stream.Read(buffer, 1, &count), E_FAIL);
    EXPECT_EQ(count, 0u);

    stream.Rewind();
    EXPECT_EQ(stream.Skip(3), S_OK);
    EXPECT_EQ(stream.Read(buffer, 1, nullptr), S_OK);
    EXPECT_EQ(buffer[0], '3');
    EXPECT_EQ(stream.Skip(std::uint64_t{1} << 32), E_NOTIMPL);
    EXPECT_EQ(stream.Position(), 4u);

    tsMemoryStream out;
    EXPECT_EQ(out.Write("ab", 2), S_OK);
    EXPECT_EQ(out.Write("c", 1), S_OK);
    EXPECT_EQ(out.Bytes(), (std::vector<std::uint8_t>{'a', 'b', 'c'}));
}

TEST(BufferedOutput, FailuresShowAtFlushAndStay)
{
    testing_support::TempDir dir;
    const int checked = testing_support::runWithFileSizeLimit(2, [&] {
        tsStream full;
        if (full.Open(dir.file("full").c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE) != S_OK)
            return 10;
        tsBufferedOutputStream out(&full, 16);
        if (out.Write("abc", 3) != S_OK) // gathered, not written yet
            return 11;
        if (out.Flush() != E_FAIL)
            return 12;
        if (out.Write("d", 1) != E_FAIL) // a failure stays
            return 13;
        return out.Flush() == E_FAIL ? 1 : 14;
    });
    EXPECT_EQ(checked, 1);

    tsMemoryStream memory;
    tsBufferedOutputStream gathered(&memory, 4);
    EXPECT_EQ(gathered.Write("ab", 2), S_OK);
    EXPECT_TRUE(memory.Bytes().empty());
    EXPECT_EQ(gathered.Write("cdef", 4), S_OK) << "a full buffer goes out at once";
    EXPECT_EQ(memory.Bytes().size(), 6u);
    EXPECT_EQ(gathered.Write("g", 1), S_OK);
    EXPECT_EQ(gathered.Flush(), S_OK);
    EXPECT_EQ(memory.Bytes(), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 'g'}));
}
