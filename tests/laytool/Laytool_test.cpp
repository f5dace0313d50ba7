#include "laytool/LaytoolSupport.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QImage>

#include <csignal>
#include <cstdlib>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

using testing_support::Bytes;
using testing_support::LayoutBytes;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

using testing_support::laytool;
using testing_support::ToolRun;

namespace {

std::string text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(LaytoolDump, PrintsTheDocumentedForm)
{
    TempDir dir;
    LayoutBytes one(2, 1);
    one.record(0, "UNBENANNT0", 0, 0, 10, 20, 110, 70);
    writeFile(dir.file("one.lay"), one.bytes);
    ToolRun run = laytool({"dump", dir.file("one.lay")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "{\"result\": \"0x00000000\", \"controls\": [\n"
              "  {\"id\": 0, \"name\": \"UNBENANNT0\", \"guiResourceId\": 0, \"textId\": 0, "
              "\"x1\": 10, \"y1\": 20, \"x2\": 110, \"y2\": 70}\n]}\n");

    writeFile(dir.file("empty.lay"), LayoutBytes(2, 0).bytes);
    run = laytool({"dump", dir.file("empty.lay")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"result\": \"0x00000000\", \"controls\": []}\n");
}

TEST(LaytoolDump, FailedLoadsStillPrintWhatWasRead)
{
    TempDir dir;
    ToolRun missing = laytool({"dump", dir.file("missing.lay")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "{\"result\": \"0x80070002\", \"controls\": []}\n");
    EXPECT_NE(missing.err.find("0x80070002"), std::string::npos);
    EXPECT_NE(missing.err.find(dir.file("missing.lay")), std::string::npos);

    LayoutBytes two(2, 3);
    two.record(0, "A", 0, 0, 1, 2, 3, 4).record(1, "B", 0, 0, 1, 2, 3, 4);
    writeFile(dir.file("cut.lay"), two.bytes);
    ToolRun cut = laytool({"dump", dir.file("cut.lay")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.out.find("\"result\": \"0x80004005\""), std::string::npos);
    EXPECT_NE(cut.out.find("\"name\": \"B\""), std::string::npos);

    writeFile(dir.file("v3.lay"), LayoutBytes(3, 0).bytes);
    EXPECT_EQ(laytool({"dump", dir.file("v3.lay")}).status, 1);
}

TEST(LaytoolMake, DumpMakeDumpIsTheIdentity)
{
    TempDir dir;
    LayoutBytes odd(2, 4);
    odd.record(4294967295u, "\xE4\xFF\"\\\x01Q", 7, 8, 10.9f, 0, 110.2f, 50.99f)
        .record(1, "", 0, 0, -0.0f, 1e-45f, 3.4028235e38f, -25.5f)
        .record(2, "NONFINITE", 0, 0, std::numeric_limits<float>::infinity(),
                -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
                16777217.0f)
        .record(3, "SMALL", 1, 2, 0.1f, 1.0f / 3.0f, 1e10f, -7e-39f);
    writeFile(dir.file("a.lay"), odd.bytes);

    ToolRun first = laytool({"dump", dir.file("a.lay")});
    ASSERT_EQ(first.status, 0) << first.err;
    writeFile(dir.file("a.json"), first.out);
    ToolRun made = laytool({"make", dir.file("a.json"), dir.file("b.lay")});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(readFile(dir.file("b.lay")), odd.bytes);
    ToolRun second = laytool({"dump", dir.file("b.lay")});
    EXPECT_EQ(second.out, first.out);

    // Missing fields take their defaults; other top-level keys are ignored.
    writeFile(dir.file("min.json"),
              std::string(R"({"version": 9, "controls": [{"name": "X", "x2": 5.5}, {}]})"));
    ASSERT_EQ(laytool({"make", dir.file("min.json"), dir.file("min.lay")}).status, 0);
    LayoutBytes expected(2, 2);
    expected.record(0, "X", 0, 0, 0, 0, 5.5f, 0).record(0, "", 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(readFile(dir.file("min.lay")), expected.bytes);
}

TEST(LaytoolMake, BadInputLeavesAnExistingOutputUntouched)
{
    TempDir dir;
    const Bytes old = LayoutBytes(2, 0).u32(0xABCDEF01).bytes;
    struct Case
    {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {"{\"controls\": [\n  {\"id\": 1,\n   \"name\": x}]}", "line 3, column 12"},
        {"", "line 1, column 1"},
        {"[]", "\"controls\""},
        {"{\"controls\": {}}", "\"controls\""},
        {"{\"controls\": [{\"id\": -1}]}", "controls[0]: id"},
        {"{\"controls\": [{}, {\"id\": 4294967296}]}", "controls[1]: id"},
        {"{\"controls\": [{\"id\": 1.5}]}", "id"},
        {"{\"controls\": [{\"x1\": \"10\"}]}", "x1"},
        {"{\"controls\": [{\"y2\": 1e39}]}", "y2"},
        {"{\"controls\": [{\"name\": 5}]}", "name"},
        {"{\"controls\": [{\"name\": \"\\u0100\"}]}", "U+00FF"},
        {"{\"controls\": [{\"textID\": 1}]}", "textID"},
        {"{\"controls\": [3]}", "controls[0]"},
    };
    for (const Case& c : cases) {
        writeFile(dir.file("out.lay"), old);
        writeFile(dir.file("bad.json"), std::string(c.json));
        ToolRun run = laytool({"make", dir.file("bad.json"), dir.file("out.lay")});
        EXPECT_EQ(run.status, 1) << c.json;
        EXPECT_NE(run.err.find(dir.file("bad.json")), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.json << "\n" << run.err;
        EXPECT_EQ(readFile(dir.file("out.lay")), old) << c.json;
    }
    EXPECT_EQ(laytool({"make", dir.file("absent.json"), dir.file("out.lay")}).status, 1);
    // No stray temporary file is left beside the output.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);

    writeFile(dir.file("good.json"), std::string("{\"controls\": []}"));
    ToolRun noFolder = laytool({"make", dir.file("good.json"), dir.file("no/such/out.lay")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("0x80070002"), std::string::npos);
}

TEST(Laytool, UsageAndHelp)
{
    EXPECT_EQ(laytool({}).status, 2);
    EXPECT_EQ(laytool({"frobnicate"}).status, 2);
    EXPECT_EQ(laytool({"dump"}).status, 2);
    EXPECT_EQ(laytool({"dump", "a", "b"}).status, 2);
    EXPECT_EQ(laytool({"make", "a"}).status, 2);
    EXPECT_EQ(laytool({"dump", "--fast", "a"}).status, 2);
    ToolRun help = laytool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("dump"), std::string::npos);
    ToolRun dumpHelp = laytool({"dump", "--help"});
    EXPECT_EQ(dumpHelp.status, 0);
    EXPECT_NE(dumpHelp.out.find("laytool dump [--trace] FILE.lay"), std::string::npos);
}

TEST(LaytoolBinary, TraceShowsTheChainOfAFailure)
{
    TempDir dir;
    const std::string command = std::string(LAYTOOL_BINARY) + " dump --trace " +
                                dir.file("gone.lay") + " >" + dir.file("out.txt") + " 2>" +
                                dir.file("err.txt");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(text(readFile(dir.file("out.txt"))),
              "{\"result\": \"0x80070002\", \"controls\": []}\n");
    const std::string err = text(readFile(dir.file("err.txt")));
    EXPECT_NE(err.find(" : Error: Open file '" + dir.file("gone.lay") + "' failed.\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find(" : Error: ASSERT_HRESULT(0x80070002): No such file or directory\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("laytool: cannot read " + dir.file("gone.lay") +
                       ": No such file or directory (0x80070002)\n"),
              std::string::npos)
        << err;
}

TEST(LaytoolRender, DrawsTheCanvasPicture)
{
    TempDir dir;
    LayoutBytes two(2, 2);
    two.record(0, "A", 0, 0, 10, 20, 110, 70).record(1, "B", 0, 0, 300, 200, 500, 580);
    writeFile(dir.file("two.lay"), two.bytes);
    ASSERT_EQ(laytool({"render", dir.file("two.lay"), dir.file("plain.png")}).status, 0);
    ASSERT_EQ(
        laytool({"render", dir.file("two.lay"), dir.file("current.png"), "--current", "1"}).status,
        0);
    const QImage plain(QString::fromStdString(dir.file("plain.png")));
    const QImage current(QString::fromStdString(dir.file("current.png")));
    ASSERT_EQ(plain.size(), QSize(840, 640));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(20, 20), qRgb(64, 0, 0));
    EXPECT_EQ(plain.pixel(30, 40), qRgb(64, 0, 0));
    EXPECT_EQ(plain.pixel(320, 220), qRgb(64, 0, 0));
    EXPECT_EQ(current.pixel(320, 220), qRgb(255, 0, 0));
    EXPECT_EQ(current.pixel(30, 40), qRgb(64, 0, 0));

    EXPECT_EQ(laytool({"render", dir.file("two.lay"), dir.file("x.png"), "--current", "2"}).status,
              1);
    EXPECT_EQ(laytool({"render", dir.file("two.lay"), dir.file("x.png"), "--current"}).status, 2);
    ToolRun missing = laytool({"render", dir.file("none.lay"), dir.file("x.png")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("0x80070002"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
}

TEST(LaytoolMake, DiskFullLeavesTheOldOutput)
{
    TempDir dir;
    const Bytes old = LayoutBytes(2, 0).bytes;
    std::string json = "{\"controls\": [";
    for (int i = 0; i < 200; ++i)
        json += std::string(i ? ", " : "") + "{\"name\": \"CONTROL_NAME_NUMBER\", \"x1\": 1.5}";
    json += "]}";
    writeFile(dir.file("in.json"), json);
    for (rlim_t limit : {rlim_t{0}, rlim_t{30}, rlim_t{4000}}) {
        writeFile(dir.file("out.lay"), old);
        const int status = testing_support::runWithFileSizeLimit(limit, [&] {
            return laytool({"make", dir.file("in.json"), dir.file("out.lay")}).status;
        });
        EXPECT_EQ(status, 1) << limit;
        EXPECT_EQ(readFile(dir.file("out.lay")), old) << limit;
    }
}
