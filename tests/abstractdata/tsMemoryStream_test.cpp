#include "streams/tsMemoryStream.h"

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
