#include "streams/tsMemoryStream.h"
#include "tstring.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes written(const tstring& s)
{
    tsMemoryStream stream;
    EXPECT_EQ(WriteString(s, &stream), S_OK);
    return stream.Bytes();
}

HRESULT readFrom(const Bytes& bytes, tstring& s, std::size_t* consumed = nullptr)
{
    tsMemoryStream stream{Bytes(bytes)};
    HRESULT hr = ReadString(s, &stream);
    if (consumed)
        *consumed = stream.Position();
    return hr;
}

} // namespace

TEST(CountedString, PrefixWidthsAndRoundTrips)
{
    struct Case
    {
        std::size_t length;
        std::size_t prefix;
    };
    for (Case c :
         {Case{0, 1}, {9, 1}, {254, 1}, {255, 3}, {65533, 3}, {65534, 7}, {65535, 7}, {70000, 7}}) {
        tstring original(c.length, 'x');
        for (std::size_t i = 0; i < c.length; ++i)
            original[i] = static_cast<char>('A' + i % 26);
        const Bytes bytes = written(original);
        EXPECT_EQ(bytes.size(), c.prefix + c.length) << c.length;
        tstring back = "previous";
        std::size_t consumed = 0;
        EXPECT_EQ(readFrom(bytes, back, &consumed), S_OK);
        EXPECT_EQ(back, original);
        EXPECT_EQ(consumed, bytes.size());
    }
}

TEST(CountedString, PrefixBytesOfTheExamples)
{
    EXPECT_EQ(written(""), Bytes{0x00});
    const Bytes unbenannt = written("UNBENANNT");
    EXPECT_EQ(unbenannt.front(), 9);
    const Bytes b255 = written(tstring(255, 'a'));
    EXPECT_EQ(Bytes(b255.begin(), b255.begin() + 3), (Bytes{0xFF, 0xFF, 0x00}));
    const Bytes long70000 = written(tstring(70000, 'a'));
    EXPECT_EQ(Bytes(long70000.begin(), long70000.begin() + 7),
              (Bytes{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    const Bytes b65533 = written(tstring(65533, 'a'));
    EXPECT_EQ(Bytes(b65533.begin(), b65533.begin() + 3), (Bytes{0xFF, 0xFD, 0xFF}));
    // Bytes above 0x7F are stored as they are.
    EXPECT_EQ(written("\xE4\xFF"), (Bytes{0x02, 0xE4, 0xFF}));
}

TEST(CountedString, MalformedInputLeavesTheStringUnchanged)
{
    tstring s = "keep";
    EXPECT_EQ(readFrom({0xFF, 0xFE, 0xFF}, s), E_FAIL);
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(readFrom({0x05, 'a', 'b'}, s), E_FAIL) << "stream ends inside the characters";
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(readFrom({}, s), E_FAIL);
    EXPECT_EQ(readFrom({0xFF, 0x10}, s), E_FAIL) << "stream ends inside the 16-bit length";
    EXPECT_EQ(readFrom({0xFF, 0xFF, 0xFF, 0x01}, s), E_FAIL)
        << "stream ends inside the 32-bit length";
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(readFrom({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, s), E_OUTOFMEMORY);
    EXPECT_EQ(s, "keep");
}

TEST(CountedString, AcceptedOddForms)
{
    tstring s = "keep";
    std::size_t consumed = 0;
    EXPECT_EQ(readFrom({0x03, 0x41, 0x00, 0x42}, s, &consumed), S_OK);
    EXPECT_EQ(s, "A");
    EXPECT_EQ(consumed, 4u);

    EXPECT_EQ(readFrom({0xFF, 0x05, 0x00, 'a', 'b', 'c', 'd', 'e'}, s, &consumed), S_OK);
    EXPECT_EQ(s, "abcde");
    EXPECT_EQ(consumed, 8u);
    EXPECT_EQ(readFrom({0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 'h', 'i', 'X'}, s, &consumed), S_OK);
    EXPECT_EQ(s, "hi");
    EXPECT_EQ(consumed, 9u);
    EXPECT_EQ(readFrom({0x00}, s), S_OK);
    EXPECT_EQ(s, "");
}

// A 30-byte input whose prefix claims almost 4 GiB must fail as a short read, without asking
// for memory it has not seen. The child runs with its address space capped a little above what
// it already uses, so a big allocation would kill it instead of passing.
TEST(CountedString, HugePrefixFailsFastWithSmallMemory)
{
    Bytes bytes = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF};
    bytes.resize(30, 'z');

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        unsigned long pages = 0;
        std::ifstream statm("/proc/self/statm");
        statm >> pages;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max =
            pages * static_cast<unsigned long>(::sysconf(_SC_PAGESIZE)) + (256ul << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        tstring s = "keep";
        HRESULT hr = readFrom(bytes, s);
        ::_exit(hr == E_FAIL && s == "keep" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader was killed (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(CountedString, WriteFailureIsPassedOn)
{
    class FullStream : public tsOutputStream
    {
    public:
        std::uint32_t room = 0;
        HRESULT Write(const void*, std::uint32_t size) override
        {
            if (size > room)
                return E_FAIL;
            room -= size;
            return S_OK;
        }
    };
    for (std::uint32_t room : {0u, 1u, 2u, 3u, 10u}) {
        FullStream stream;
        stream.room = room;
        EXPECT_EQ(WriteString(tstring(300, 'q'), &stream), E_FAIL) << room;
    }
}
