#include "LayoutDataObject.h"
#include "LayoutFile.h"
#include "streams/tsMemoryStream.h"
#include "support/LayoutBytes.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::LayoutBytes;
using Bytes = std::vector<std::uint8_t>;

namespace {

LayoutBytes threeRecords(std::uint32_t version)
{
    LayoutBytes bytes(version, 3);
    bytes.record(1, "FIRST", 2, 3, 1.5f, 2.5f, 3.5f, 4.5f)
        .record(4, std::string(300, 'L'), 5, 6, -1, -2, 800, 600)
        .record(7, "", 8, 9, 0, 0, 1, 1);
    return bytes;
}

// Where each record ends, for a file of threeRecords.
std::vector<std::size_t> recordEnds(std::uint32_t version)
{
    const std::size_t fixed = version == 2 ? 28 : 24;
    return {24 + fixed + 1 + 5, 24 + fixed + 1 + 5 + fixed + 3 + 300,
            24 + fixed + 1 + 5 + fixed + 3 + 300 + fixed + 1};
}

HRESULT load(const Bytes& bytes, LayoutDataObject& layout)
{
    tsMemoryStream stream{Bytes(bytes)};
    return layout.Read(&stream);
}

// The same bytes with no buffer to look into: every record goes field by field.
class FieldByField : public tsInputStream
{
public:
    explicit FieldByField(const Bytes& bytes) : m_inner(Bytes(bytes)) {}
    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) override
    {
        return m_inner.Read(buffer, size, bytesRead);
    }
    HRESULT Skip(std::uint64_t count) override { return m_inner.Skip(count); }

private:
    tsMemoryStream m_inner;
};

struct Outcome
{
    HRESULT hr;
    std::vector<LayoutControl> controls;
    std::string trace;
};

Outcome readWith(tsInputStream& stream)
{
    testing_support::TraceCapture capture;
    LayoutDataObject layout;
    const HRESULT hr = layout.Read(&stream);
    return {hr, layout.m_controls, capture.text()};
}

bool sameOutcome(const Outcome& a, const Outcome& b)
{
    if (a.hr != b.hr || a.trace != b.trace || a.controls.size() != b.controls.size())
        return false;
    for (std::size_t i = 0; i < a.controls.size(); ++i)
        if (!IdenticalRecords(a.controls[i], b.controls[i]))
            return false;
    return true;
}

} // namespace

TEST(BadFiles, BufferedRecordsReadAsFieldByFieldDoes)
{
    for (std::uint32_t version : {1u, 2u}) {
        const Bytes full = threeRecords(version).bytes;
        auto check = [](const Bytes& bytes, const char* what, std::size_t at) {
            tsMemoryStream buffered{Bytes(bytes)};
            FieldByField plain(bytes);
            EXPECT_TRUE(sameOutcome(readWith(buffered), readWith(plain))) << what << " " << at;
        };
        for (std::size_t cut = 0; cut <= full.size(); ++cut)
            check(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)), "cut", cut);
        for (std::size_t at = 0; at < full.size(); ++at)
            for (std::uint8_t value :
                 {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0xFE}, std::uint8_t{0x7F}}) {
                Bytes bent = full;
                bent[at] = value;
                check(bent, "byte", at);
            }
    }
}

TEST(BadFiles, EveryTruncationKeepsTheCompleteRecordsBeforeTheCut)
{
    for (std::uint32_t version : {1u, 2u}) {
        const Bytes full = threeRecords(version).bytes;
        const std::vector<std::size_t> ends = recordEnds(version);
        ASSERT_EQ(ends.back(), full.size());
        LayoutDataObject whole;
        ASSERT_EQ(load(full, whole), S_OK);
        for (std::size_t cut = 0; cut < full.size(); ++cut) {
            LayoutDataObject layout;
            EXPECT_EQ(
                load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)), layout),
                E_FAIL)
                << cut;
            const auto complete = static_cast<std::size_t>(std::count_if(
                ends.begin(), ends.end(), [cut](std::size_t end) { return end <= cut; }));
            ASSERT_EQ(layout.m_controls.size(), complete)
                << "version " << version << " cut at " << cut;
            for (std::size_t i = 0; i < complete; ++i)
                EXPECT_EQ(layout.m_controls[i].m_name, whole.m_controls[i].m_name);
        }
    }
}

TEST(BadFiles, EveryFlippedByteEndsCleanly)
{
    for (std::uint32_t version : {1u, 2u}) {
        const Bytes full = threeRecords(version).bytes;
        for (std::size_t at = 0; at < full.size(); ++at) {
            for (std::uint8_t value :
                 {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(~full[at])}) {
                Bytes bent = full;
                bent[at] = value;
                LayoutDataObject layout;
                const HRESULT hr = load(bent, layout);
                EXPECT_TRUE(hr == S_OK || hr == E_FAIL || hr == E_OUTOFMEMORY) << at << " " << hr;
                EXPECT_LE(layout.m_controls.size(), 3u + (at >= 20 && at < 24 ? 256u : 0u));
                if (hr == S_OK) {
                    // Whatever loads, saves and loads again the same.
                    tsMemoryStream out;
                    ASSERT_EQ(layout.Write(&out), S_OK);
                    out.Rewind();
                    LayoutDataObject again;
                    ASSERT_EQ(again.Read(&out), S_OK);
                    ASSERT_EQ(again.m_controls.size(), layout.m_controls.size());
                }
            }
        }
    }
}

// Counts and lengths that claim far more than the file holds fail at once, in small memory:
// the child runs with its address space capped a little above what it uses already.
TEST(BadFiles, HugeCountsAndLengthsFailFastInSmallMemory)
{
    LayoutBytes hugeCount(2, 0xFFFFFFFFu);
    Bytes longName = LayoutBytes(2, 1).bytes;
    for (std::uint8_t b : {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF})
        longName.push_back(b);
    longName.resize(longName.size() + 40, 'n');
    Bytes longestName = longName;
    longestName[24 + 4 + 3] = 0xFF;

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        unsigned long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max =
            pages * static_cast<unsigned long>(::sysconf(_SC_PAGESIZE)) + (256ul << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        LayoutDataObject a, b, c;
        const bool ok = load(hugeCount.bytes, a) == E_FAIL && a.m_controls.empty() &&
                        load(longName, b) == E_FAIL && b.m_controls.empty() &&
                        load(longestName, c) == E_OUTOFMEMORY && c.m_controls.empty();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(BadFiles, SpecialFloatsRoundTripBitForBit)
{
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::bit_cast<float>(0xFFC00001u),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            -0.0f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max()};
    LayoutBytes bytes(2, 2);
    bytes.record(0, "A", 0, 0, values[0], values[1], values[2], values[3])
        .record(1, "B", 0, 0, values[4], values[5], values[6], values[7]);
    LayoutDataObject layout;
    ASSERT_EQ(load(bytes.bytes, layout), S_OK);
    tsMemoryStream out;
    ASSERT_EQ(layout.Write(&out), S_OK);
    EXPECT_EQ(out.Bytes(), bytes.bytes);
}
