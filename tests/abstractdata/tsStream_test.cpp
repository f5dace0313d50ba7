#include "abstractdata/ChildProcess.h"
#include "streams/tsStream.h"
#include "support/TestFiles.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

using testing_support::Bytes;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

class StreamTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path(const char* name = "file.bin") const { return dir.file(name); }
    static Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }
};

} // namespace

TEST_F(StreamTest, ReadsExactCountsAndReportsShortReads)
{
    writeFile(path(), "0123456789");
    tsStream stream;
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_READ), S_OK);

    char buffer[16] = {};
    std::uint32_t count = 99;
    EXPECT_EQ(stream.Read(buffer, 0, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(stream.Read(buffer, 4, &count), S_OK);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");

    EXPECT_EQ(stream.Read(buffer, 16, &count), E_FAIL);
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");

    EXPECT_EQ(stream.Read(buffer, 4, &count), E_FAIL);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(stream.Read(buffer, 4, nullptr), E_FAIL);

    tsStream whole;
    ASSERT_EQ(whole.Open(path().c_str(), 0), S_OK);
    EXPECT_EQ(whole.Read(buffer, 16, &count), E_FAIL);
    EXPECT_EQ(count, 10u);
}

TEST_F(StreamTest, CreateEmptiesTheFileAndWriteAppendsInOrder)
{
    writeFile(path(), "old content that must go");
    tsStream stream;
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE), S_OK);
    EXPECT_EQ(readFile(path()).size(), 0u);
    EXPECT_EQ(stream.Write("ab", 2), S_OK);
    EXPECT_EQ(stream.Write("", 0), S_OK);
    EXPECT_EQ(stream.Write("cde", 3), S_OK);
    EXPECT_EQ(stream.Flush(), S_OK);
    EXPECT_EQ(stream.Close(), S_OK);
    EXPECT_EQ(readFile(path()), bytesOf("abcde"));

    // A write-only stream cannot read, a read-only one cannot write: both fail cleanly.
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_WRITE), S_OK);
    char c;
    EXPECT_LT(stream.Read(&c, 1, nullptr), 0);
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_READ), S_OK);
    EXPECT_LT(stream.Write("x", 1), 0);
    stream.Close();
    EXPECT_EQ(readFile(path()), bytesOf("abcde"));

    // Without the create bit the file must exist; with it and no write bit, it is read-only.
    EXPECT_EQ(static_cast<std::uint32_t>(stream.Open(path("missing").c_str(), TS_OPEN_WRITE)),
              0x80070002u);
    EXPECT_EQ(stream.Open(path("fresh").c_str(), TS_OPEN_CREATE), S_OK);
    EXPECT_LT(stream.Write("x", 1), 0);
    EXPECT_TRUE(std::filesystem::exists(path("fresh")));
}

TEST_F(StreamTest, ReadWriteOpenSupportsBoth)
{
    writeFile(path(), "hello");
    tsStream stream;
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_WRITE | TS_OPEN_READ), S_OK);
    char buffer[5];
    EXPECT_EQ(stream.Read(buffer, 2, nullptr), S_OK);
    EXPECT_EQ(stream.Write("LL", 2), S_OK);
    stream.Close();
    EXPECT_EQ(readFile(path()), bytesOf("heLLo"));
}

TEST_F(StreamTest, ClosedStreamsAndFailedOpens)
{
    testing_support::TraceCapture trace;
    tsStream stream;
    EXPECT_EQ(stream.Close(), S_OK);
    EXPECT_EQ(stream.Write("x", 1), E_UNEXPECTED);
    char c;
    std::uint32_t count = 77;
    EXPECT_EQ(stream.Read(&c, 1, &count), E_UNEXPECTED);
    EXPECT_EQ(count, 77u) << "the count is not written without a file";

    const std::string missing = path("nowhere.lay");
    EXPECT_EQ(static_cast<std::uint32_t>(stream.Open(missing.c_str(), TS_OPEN_READ)), 0x80070002u);
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(stream.Write("x", 1), E_UNEXPECTED);
    const std::string text = trace.text();
    EXPECT_NE(text.find(" : Error: Open file '" + missing + "' failed.\n"), std::string::npos);
    EXPECT_NE(text.find(" : Error: ASSERT_HRESULT(0x80070002): No such file or directory\n"),
              std::string::npos)
        << text;

    // Opening again closes the first file; a second open that fails leaves none open.
    writeFile(path("a"), "A");
    writeFile(path("b"), "B");
    ASSERT_EQ(stream.Open(path("a").c_str(), TS_OPEN_READ), S_OK);
    ASSERT_EQ(stream.Open(path("b").c_str(), TS_OPEN_READ), S_OK);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK);
    EXPECT_EQ(c, 'B');
    tsStream writer;
    EXPECT_EQ(writer.Open(path("a").c_str(), TS_OPEN_WRITE), S_OK) << "the first file was released";
    EXPECT_LT(stream.Open(missing.c_str(), TS_OPEN_READ), 0);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), E_UNEXPECTED);

    // A directory is not a file to open.
    EXPECT_LT(stream.Open(dir.path().c_str(), TS_OPEN_READ), 0);
    EXPECT_FALSE(stream.IsOpen());
}

TEST_F(StreamTest, SeekAndSkip)
{
    writeFile(path(), "0123456789");
    tsStream stream;
    ASSERT_EQ(stream.Open(path().c_str(), TS_OPEN_READ), S_OK);
    char c;
    EXPECT_EQ(stream.Skip(5), S_OK);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK);
    EXPECT_EQ(c, '5');

    EXPECT_EQ(stream.Skip(std::uint64_t{1} << 32), E_NOTIMPL);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK) << "the seek by the low half (0) was done";
    EXPECT_EQ(c, '6');
    EXPECT_EQ(stream.Skip((std::uint64_t{1} << 32) + 1), E_NOTIMPL);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK);
    EXPECT_EQ(c, '8');

    EXPECT_EQ(stream.Seek(2, 0), S_OK) << "success, not the length";
    EXPECT_EQ(stream.Read(&c, 1, nullptr), E_FAIL);
    EXPECT_EQ(stream.Seek(0, 2), S_OK);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK);
    EXPECT_EQ(c, '2');
    EXPECT_EQ(stream.Seek(1, -2), S_OK);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK);
    EXPECT_EQ(c, '1');
    EXPECT_EQ(stream.Seek(3, 0), E_INVALIDARG);
    EXPECT_EQ(stream.Read(&c, 1, nullptr), S_OK) << "an invalid origin does not move";
    EXPECT_EQ(c, '2');
    EXPECT_LT(stream.Seek(0, -1), 0);

    stream.Close();
    EXPECT_LT(stream.Seek(0, 0), 0);
}

TEST_F(StreamTest, SharingFollowsTheAccess)
{
    writeFile(path(), "keep me");
    tsStream reader;
    tsStream secondReader;
    ASSERT_EQ(reader.Open(path().c_str(), TS_OPEN_READ), S_OK);
    EXPECT_EQ(secondReader.Open(path().c_str(), TS_OPEN_READ), S_OK) << "readers share";

    tsStream writer;
    EXPECT_LT(writer.Open(path().c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE), 0);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(readFile(path()), bytesOf("keep me")) << "no truncation without the lock";
    EXPECT_LT(writer.Open(path().c_str(), TS_OPEN_WRITE | TS_OPEN_READ), 0);

    reader.Close();
    secondReader.Close();
    ASSERT_EQ(writer.Open(path().c_str(), TS_OPEN_WRITE), S_OK);
    EXPECT_LT(reader.Open(path().c_str(), TS_OPEN_READ), 0) << "a writer shares with nobody";
    tsStream secondWriter;
    EXPECT_LT(secondWriter.Open(path().c_str(), TS_OPEN_WRITE), 0);
    writer.Close();
    EXPECT_EQ(reader.Open(path().c_str(), TS_OPEN_READ), S_OK);
}

TEST_F(StreamTest, PermissionAndWriteErrorsComeBackAsCodes)
{
    // Root ignores permission bits: the owner's own 0444 file is tried as an ordinary user,
    // beside a 0644 one that this user may write.
    writeFile(path(), "x");
    writeFile(path("writable"), "w");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(path().c_str(), 0444);
    if (::geteuid() == 0) {
        for (const std::string& name : {path(), path("writable")}) {
            [[maybe_unused]] const int owned =
                ::chown(name.c_str(), testing_support::NOBODY, testing_support::NOGROUP);
        }
    }
    EXPECT_CHILD_CLEAN(testing_support::inChild([&] {
        if (!testing_support::dropPrivileges())
            return std::string("cannot drop privileges");
        testing_support::Findings found;
        tsStream stream;
        const HRESULT hr = stream.Open(path().c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        found.check(hr == HRESULT_FROM_WIN32(EACCES), "0444: EACCES, not " + std::to_string(hr));
        found.check(!stream.IsOpen(), "0444: nothing open");
        found.check(stream.Open(path("writable").c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE) == S_OK,
                    "0644: opens");
        return found.text;
    }));
    EXPECT_EQ(readFile(path()), bytesOf("x")) << "not emptied";
    EXPECT_TRUE(readFile(path("writable")).empty());

    // A write the disk refuses is short: E_FAIL, as for any short write, and the platform's
    // reason stays with the stream.
    const int failed = testing_support::runWithFileSizeLimit(2, [&] {
        tsStream limited;
        if (limited.Open(path("limited").c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE) != S_OK)
            return 10;
        if (limited.Write("abc", 3) != E_FAIL)
            return 11;
        if (limited.SystemError() != EFBIG)
            return 12;
        return limited.Write("", 0) == S_OK ? 1 : 13;
    });
    EXPECT_EQ(failed, 1);
}

// Opening a FIFO would wait for a writer, reading a device might never end, and creating over
// one would empty it: every file that is not regular is refused at once, for reading and
// writing alike. A link to a regular file still opens.
TEST_F(StreamTest, OnlyRegularFilesOpen)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0666), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path("socket").c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const bool blockDevice = ::mknod(path("block").c_str(), S_IFBLK | 0600, makedev(7, 200)) == 0;
    ASSERT_EQ(::symlink(path("fifo").c_str(), path("fifo-link").c_str()), 0);
    writeFile(path("plain"), "plain");
    ASSERT_EQ(::symlink("plain", path("plain-link").c_str()), 0);

    const std::string findings = testing_support::inChild(
        [&] {
            testing_support::Findings found;
            tsStream stream;
            std::vector<std::string> special = {path("fifo"), path("socket"), path("fifo-link"),
                                                "/dev/zero",  "/dev/null",    "/dev/full"};
            if (blockDevice)
                special.push_back(path("block"));
            for (const std::string& name : special) {
                for (std::uint32_t flags :
                     {TS_OPEN_READ, TS_OPEN_WRITE, TS_OPEN_CREATE | TS_OPEN_WRITE}) {
                    const HRESULT hr = stream.Open(name.c_str(), flags);
                    found.check(hr == TS_E_NOT_REGULAR_FILE, name + " flags " +
                                                                 std::to_string(flags) + ": " +
                                                                 std::to_string(hr));
                    found.check(!stream.IsOpen(), name + " stays closed");
                }
            }
            found.check(stream.Open(dir.path().c_str(), TS_OPEN_READ) == HRESULT_FROM_WIN32(EISDIR),
                        "a directory keeps its own error");
            char buffer[8] = {};
            found.check(stream.Open(path("plain-link").c_str(), TS_OPEN_READ) == S_OK &&
                            stream.Read(buffer, 5, nullptr) == S_OK &&
                            std::string(buffer) == "plain",
                        "a link to a regular file reads");
            return found.text;
        },
        20);
    ::close(listener);
    EXPECT_EQ(findings, "");
    struct stat info
    {
    };
    ASSERT_EQ(::stat(path("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "nothing was created in its place";
}

TEST(StreamInterfaces, DeletingThroughEitherFaceDestroysTheStream)
{
    tsInputStream* in = new tsStream;
    delete in;
    tsOutputStream* out = new tsStream;
    delete out;
    tsStream* none = nullptr;
    EXPECT_EQ(static_cast<tsOutputStream*>(none), nullptr);
}
