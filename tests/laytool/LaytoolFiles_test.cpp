// The files laytool reads and writes: what it refuses at once, and why it says it failed.
#include "abstractdata/ChildProcess.h"
#include "laytool/LaytoolSupport.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

using namespace testing_support;

// A failure names the file, the cause in words and the code.
TEST(LaytoolFiles, FailuresNameTheirCause)
{
    TempDir dir;
    const std::string missing = dir.file("a.lay");
    EXPECT_EQ(laytool({"dump", missing}).err,
              "laytool: cannot read " + missing + ": No such file or directory (0x80070002)\n");
    EXPECT_EQ(laytool({"dump", dir.path().string()}).err,
              "laytool: cannot read " + dir.path().string() + ": Is a directory (0x80070015)\n");
    writeFile(dir.file("cut.lay"), Bytes(LayoutBytes(2, 1).bytes));
    EXPECT_EQ(laytool({"render", dir.file("cut.lay"), dir.file("x.png")}).err,
              "laytool: cannot read " + dir.file("cut.lay") +
                  ": the file is cut short or is not a layout (0x80004005)\n");
    EXPECT_EQ(laytool({"make", dir.file("in.json"), dir.file("out.lay")}).err,
              "laytool: cannot read " + dir.file("in.json") +
                  ": No such file or directory (0x80070002)\n");
    writeFile(dir.file("in.json"), std::string("{\"controls\": [{\"name\": \"NAME\"}]}"));
    EXPECT_EQ(laytool({"make", dir.file("in.json"), dir.file("no/out.lay")}).err,
              "laytool: cannot write " + dir.file("no/out.lay") +
                  ": No such file or directory (0x80070002)\n");

    // A short write says what the disk said: the size limit here, a full disk below.
    const int status = runWithFileSizeLimit(30, [&] {
        const ToolRun run = laytool({"make", dir.file("in.json"), dir.file("out.lay")});
        return run.err == "laytool: cannot write " + dir.file("out.lay") +
                              ": File too large (0x80004005)\n"
                   ? 1
                   : 2;
    });
    EXPECT_EQ(status, 1);
}

TEST(LaytoolFiles, AFullDiskIsNamed)
{
    TempDir dir;
    const std::string mount = dir.file("mount");
    std::filesystem::create_directory(mount);
    writeFile(dir.file("in.json"),
              "{\"controls\": [{\"name\": \"" + std::string(20000, 'N') + "\"}]}");
    EXPECT_CHILD_CLEAN(inChild([&] {
        std::string why = privateMounts();
        if (why.empty())
            why = mountTmpfs(mount, 16 * 1024);
        if (!why.empty())
            return why;
        const ToolRun run = laytool({"make", dir.file("in.json"), mount + "/out.lay"});
        Findings found;
        found.check(run.status == 1, "the run fails");
        found.check(run.err == "laytool: cannot write " + mount +
                                   "/out.lay: No space left on device (0x80004005)\n",
                    run.err);
        return found.text;
    }));
}

// laytool never waits on a FIFO, reads a device without end, or puts a file in a device's
// place: each is refused at once.
TEST(LaytoolFiles, FilesThatAreNotRegularAreRefusedAtOnce)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    const bool device = ::mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    writeFile(dir.file("good.json"), std::string("{\"controls\": []}"));
    writeFile(dir.file("good.lay"), LayoutBytes(2, 0).bytes);
    EXPECT_CHILD_CLEAN(inChild(
        [&] {
            Findings found;
            const std::string notRegular = ": not a regular file (0x80040200)\n";
            std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
                {{"dump", dir.file("fifo")}, "cannot read " + dir.file("fifo")},
                {{"make", "/dev/zero", dir.file("out.lay")}, "cannot read /dev/zero"},
                {{"make", dir.file("fifo"), dir.file("out.lay")},
                 "cannot read " + dir.file("fifo")},
                {{"make", dir.file("good.json"), dir.file("fifo")},
                 "cannot write " + dir.file("fifo")},
                {{"render", dir.file("good.lay"), dir.file("fifo")},
                 "cannot write " + dir.file("fifo")},
                {{"render", "/dev/zero", dir.file("x.png")}, "cannot read /dev/zero"},
            };
            if (device)
                runs.push_back({{"make", dir.file("good.json"), dir.file("null")},
                                "cannot write " + dir.file("null")});
            for (const auto& [arguments, what] : runs) {
                const ToolRun run = laytool(arguments);
                // render's input that does not load is a thumbnailer's failure: 2.
                const int status = arguments[1] == "/dev/zero" && arguments[0] == "render" ? 2 : 1;
                found.check(run.status == status && run.err == "laytool: " + what + notRegular,
                            arguments[0] + " " + arguments[1] + ": " + run.err);
            }
            return found.text;
        },
        30));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(dir.file("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    if (device) {
        ASSERT_EQ(::lstat(dir.file("null").c_str(), &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.lay")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
}

// JSON input beyond 2 GiB is refused before it is read (a sparse file costs no disk here).
TEST(LaytoolFiles, JsonInputOver2GiBIsRefused)
{
    TempDir dir;
    writeFile(dir.file("huge.json"), std::string("{\"controls\": []}"));
    std::filesystem::resize_file(dir.file("huge.json"), (std::uintmax_t{2} << 30) + 1);
    const ToolRun run = laytool({"make", dir.file("huge.json"), dir.file("out.lay")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "laytool: cannot read " + dir.file("huge.json") +
                           ": 2147483649 bytes is more than the 2 GiB that JSON input may have\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.lay")));
}

// Path bytes a terminal would act on or cannot show come out as escapes; a long path gives
// way in the middle so the line stays short.
TEST(LaytoolFiles, PathsInMessagesArePrintableAndShort)
{
    TempDir dir;
    const std::string odd = dir.file("a\x1B[2Jb\xFF\\c\xC3\xA4.lay");
    const ToolRun run = laytool({"dump", odd});
    EXPECT_EQ(run.err, "laytool: cannot read " + dir.file("a\\x1B[2Jb\\xFF\\\\c\xC3\xA4.lay") +
                           ": No such file or directory (0x80070002)\n");

    std::string deep = dir.path().string();
    for (int i = 0; i < 12; ++i)
        deep += "/" + std::string(200, static_cast<char>('a' + i));
    const ToolRun long_ = laytool({"dump", deep + "/end-of-the-name.lay"});
    EXPECT_LE(long_.err.size(), 301u);
    EXPECT_NE(long_.err.find("..."), std::string::npos);
    EXPECT_NE(long_.err.find("/end-of-the-name.lay: No such file or directory (0x80070002)\n"),
              std::string::npos)
        << long_.err;

    const ToolRun unknown = laytool({"frob\x07" + std::string(500, 'z')});
    EXPECT_EQ(unknown.status, 2);
    const std::string first = unknown.err.substr(0, unknown.err.find('\n'));
    EXPECT_LE(first.size(), 300u);
    EXPECT_NE(first.find("laytool: unknown command 'frob\\x07zz"), std::string::npos) << first;
}

// make reads its JSON a piece at a time: a 1 GiB file of zeros fails at its first byte,
// without the gigabyte ever being in memory (a sparse file costs no disk here).
TEST(LaytoolFiles, MakeStopsAtTheFirstBadByte)
{
    TempDir dir;
    writeFile(dir.file("zeros.json"), std::string());
    std::filesystem::resize_file(dir.file("zeros.json"), std::uintmax_t{1} << 30);
    const std::string json = dir.file("zeros.json"), out = dir.file("out.lay");
    const pid_t child = ::fork();
    if (child == 0) {
        const int errFile = ::open(dir.file("err.txt").c_str(), O_WRONLY | O_CREAT, 0600);
        ::dup2(errFile, 2);
        ::execl(LAYTOOL_BINARY, "laytool", "make", json.c_str(), out.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const Bytes err = readFile(dir.file("err.txt"));
    EXPECT_EQ(std::string(err.begin(), err.end()),
              "laytool: " + json + ": line 1, column 1: unexpected '\\x00'; expected a value\n");
    EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "kilobytes at the peak";
    EXPECT_FALSE(std::filesystem::exists(out));
}
