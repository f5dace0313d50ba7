// laytool check: each error and warning, the lines and JSON it prints, its exit status.
#include "laytool/LaytoolSupport.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <limits>

using namespace testing_support;

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();

class LaytoolCheck : public ::testing::Test
{
protected:
    // Controls with ids 0, 1, 2, ... unless given.
    struct Control
    {
        std::string name;
        float x1, y1, x2, y2;
        std::int64_t id = -1;
    };
    std::string write(const std::string& file, const std::vector<Control>& controls)
    {
        LayoutBytes bytes(2, static_cast<std::uint32_t>(controls.size()));
        std::uint32_t next = 0;
        for (const Control& c : controls) {
            const auto id = c.id < 0 ? next : static_cast<std::uint32_t>(c.id);
            bytes.record(id, c.name, 0, 0, c.x1, c.y1, c.x2, c.y2);
            ++next;
        }
        writeFile(m_dir.file(file), bytes.bytes);
        return m_dir.file(file);
    }

    TempDir m_dir;
};

} // namespace

TEST_F(LaytoolCheck, CleanFilesPassEvenStrictly)
{
    // The whole screen, to its last coordinate, is on it.
    const std::string clean =
        write("clean.lay", {{"SCREEN", 0, 0, 800, 600}, {"_ok_1", 10, 20, 10.5f, 20.25f}});
    const std::string empty = write("empty.lay", {});
    for (const char* strict : {"--trace", "--strict"}) {
        const ToolRun run = laytool({"check", strict, clean, empty});
        EXPECT_EQ(run.status, 0) << strict;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(laytool({"check", "--json", clean}).out,
              "{\"problems\": [], \"errors\": 0, \"warnings\": 0}\n");
}

TEST_F(LaytoolCheck, NamesThatAreNotIdentifiersAreErrors)
{
    const std::string file = write("names.lay", {{"", 1, 1, 2, 2},
                                                 {"1A", 1, 1, 2, 2},
                                                 {"A-B", 1, 1, 2, 2},
                                                 {"A B", 1, 1, 2, 2},
                                                 {"\xC4RGER", 1, 1, 2, 2},
                                                 {"OK\n", 1, 1, 2, 2},
                                                 {"_", 1, 1, 2, 2},
                                                 {"z9_Z", 1, 1, 2, 2},
                                                 {"Q", 1, 1, 2, 2}});
    const std::string why =
        ": the name is not an identifier (a-z, A-Z or _ first, then also 0-9)\n";
    const ToolRun run = laytool({"check", file});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, file + ":2: error: \"\": the name is empty\n" + file + ":3: error: \"1A\"" +
                           why + file + ":4: error: \"A-B\"" + why + file + ":5: error: \"A B\"" +
                           why + file + ":6: error: \"\xC3\x84RGER\"" + why + file +
                           ":7: error: \"OK\\u000A\"" + why);
}

TEST_F(LaytoolCheck, EachWarning)
{
    struct Case
    {
        std::vector<Control> controls;
        std::string line; // of the last control
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {{{"A", 1, 1, 2, 2}, {"B", 3, 3, 4, 4}, {"A", 5, 5, 6, 6}},
         ":4: warning: \"A\": the name repeats control 0\n"},
        {{{"A", 1, 1, 2, 2, 7}, {"B", 3, 3, 4, 4, 7}},
         ":3: warning: \"B\": the id 7 repeats control 0\n"},
        {{{"R", 700, 10, 800.5f, 20}},
         ":2: warning: \"R\": lies outside the 800 x 600 screen (x 700 to 800.5, y 10 to 20)\n"},
        {{{"L", -0.5f, 10, 20, 20}},
         ":2: warning: \"L\": lies outside the 800 x 600 screen (x -0.5 to 20, y 10 to 20)\n"},
        {{{"T", 10, 10, 20, -1}},
         ":2: warning: \"T\": lies outside the 800 x 600 screen (x 10 to 20, y -1 to 10)\n"
         "FILE:2: warning: \"T\": the height is -11 (y1 10, y2 -1)\n"},
        {{{"BOTTOM", 10, 590, 20, 601}},
         ":2: warning: \"BOTTOM\": lies outside the 800 x 600 screen (x 10 to 20, y 590 to 601)\n"},
        {{{"W", 10, 10, 10, 20}}, ":2: warning: \"W\": the width is 0 (x1 10, x2 10)\n"},
        {{{"N", 30, 10, 20, 20}}, ":2: warning: \"N\": the width is -10 (x1 30, x2 20)\n"},
        {{{"H", 10, 10, 20, 10}}, ":2: warning: \"H\": the height is 0 (y1 10, y2 10)\n"},
        {{{"NAN", nan, 10, 20, 20}}, ":2: warning: \"NAN\": a coordinate is not finite (x1 NaN)\n"},
        {{{"INF", 10, -INF, 20, INF}},
         ":2: warning: \"INF\": a coordinate is not finite (y1 -Infinity, y2 Infinity)\n"},
    };
    for (const Case& c : cases) {
        const std::string file = write("w.lay", c.controls);
        std::string expected = file + c.line;
        for (std::size_t at; (at = expected.find("FILE")) != std::string::npos;)
            expected.replace(at, 4, file);
        const ToolRun run = laytool({"check", file});
        EXPECT_EQ(run.status, 0) << c.line;
        EXPECT_EQ(run.out, expected);
        const ToolRun strict = laytool({"check", "--strict", file});
        EXPECT_EQ(strict.status, 1) << c.line;
        EXPECT_EQ(strict.out, expected);
    }
}

TEST_F(LaytoolCheck, FilesThatDoNotLoadAreErrorsAndTheOthersStillChecked)
{
    const std::string warned = write("warned.lay", {{"A", 1, 1, 2, 2}, {"A", 1, 1, 2, 2}});
    LayoutBytes cut(2, 2);
    cut.record(0, "A", 0, 0, 1, 2, 3, 4);
    writeFile(m_dir.file("cut.lay"), cut.bytes);
    const ToolRun run = laytool({"check", m_dir.file("gone.lay"), m_dir.file("cut.lay"), warned});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out,
              m_dir.file("gone.lay") +
                  ": error: cannot read: No such file or directory (0x80070002)\n" +
                  m_dir.file("cut.lay") +
                  ": error: cannot read: the file is cut short or is not a layout (0x80004005)\n" +
                  warned + ":3: warning: \"A\": the name repeats control 0\n");
    EXPECT_EQ(laytool({"check", m_dir.path().string()}).status, 2);

    const ToolRun json = laytool({"check", "--json", "--strict", m_dir.file("gone.lay"), warned});
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(json.out,
              "{\"problems\": [\n"
              "  {\"file\": \"" +
                  m_dir.file("gone.lay") +
                  "\", \"line\": null, \"index\": null, \"name\": null, \"severity\": \"error\", "
                  "\"kind\": \"unreadable\", \"message\": \"cannot read: No such file "
                  "or directory (0x80070002)\"},\n"
                  "  {\"file\": \"" +
                  warned +
                  "\", \"line\": 3, \"index\": 1, \"name\": \"A\", \"severity\": \"warning\", "
                  "\"kind\": \"duplicate-name\", \"message\": \"the name repeats "
                  "control 0\"}\n"
                  "], \"errors\": 1, \"warnings\": 1}\n");
}

TEST_F(LaytoolCheck, JsonNamesEveryKind)
{
    const std::string file = write("k.lay", {{"9", 1, 1, 2, 2, 5}, {"9", 1, 1, 2, 2, 5}});
    const ToolRun run = laytool({"check", "--json", file});
    EXPECT_EQ(run.status, 2);
    for (const char* kind : {"\"identifier\"", "\"duplicate-name\"", "\"duplicate-id\""})
        EXPECT_NE(run.out.find(kind), std::string::npos) << kind;
    EXPECT_NE(run.out.find("\"errors\": 2, \"warnings\": 2}"), std::string::npos) << run.out;
}

TEST_F(LaytoolCheck, UsageAndHelp)
{
    const ToolRun none = laytool({"check"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.rfind("usage: laytool check", 0), 0u);
    EXPECT_EQ(laytool({"check", "--current", "1", "a.lay"}).status, 2);
    EXPECT_EQ(laytool({"dump", "--json", "a.lay"}).status, 2);
    const ToolRun help = laytool({"check", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: laytool check [--trace] [--strict] [--json] FILE.lay...\n", 0),
              0u);
    // A file whose name starts with '-' is reachable after "--".
    const std::string dashed = write("-x.lay", {{"A", 1, 1, 2, 2}});
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.path());
    EXPECT_EQ(laytool({"check", "-x.lay"}).status, 2);
    EXPECT_EQ(laytool({"check", "--", "-x.lay"}).status, 0);
    std::filesystem::current_path(here);
}

namespace {

// Line n (from 1) of text.
std::string lineOf(const std::string& text, std::size_t n)
{
    std::size_t from = 0;
    for (std::size_t i = 1; i < n && from != std::string::npos; ++i)
        from = text.find('\n', from) == std::string::npos ? std::string::npos
                                                          : text.find('\n', from) + 1;
    if (from == std::string::npos)
        return {};
    return text.substr(from, text.find('\n', from) - from);
}

} // namespace

// Each finding names the line of its control in dump's output, so an editor on the dump (or a
// diff of it) lands on the control; never line 0; the same line in --json.
TEST_F(LaytoolCheck, LinesAreThoseOfTheDump)
{
    const std::string file = write("lines.lay", {{"FIRST", 900, 1, 2, 2},
                                                 {"OK", 1, 1, 2, 2},
                                                 {"OK", 1, 1, 2, 2},
                                                 {"OK2", 1, 1, 2, 2},
                                                 {"bad name", 1, 1, 2, 2}});
    const std::string dumped = laytool({"dump", file}).out;
    const ToolRun text = laytool({"check", file});
    const ToolRun json = laytool({"check", "--json", file});
    std::vector<std::size_t> lines;
    for (std::size_t at = 0; (at = text.out.find(file + ":", at)) != std::string::npos;) {
        at += file.size() + 1;
        const std::size_t line = std::stoul(text.out.substr(at));
        lines.push_back(line);
        const std::size_t nameStart = text.out.find('"', at);
        const std::string name =
            text.out.substr(nameStart, text.out.find('"', nameStart + 1) - nameStart + 1);
        EXPECT_NE(lineOf(dumped, line).find("\"name\": " + name + ","), std::string::npos)
            << "line " << line << " of the dump is not " << name << "'s:\n"
            << dumped;
        EXPECT_NE(json.out.find("\"line\": " + std::to_string(line) +
                                ", \"index\": " + std::to_string(line - 2) + ", \"name\": " + name),
                  std::string::npos)
            << json.out;
    }
    EXPECT_EQ(lines, (std::vector<std::size_t>{2, 2, 4, 6})) << text.out;
}

// Bytes after the last record are no part of the layout: the editor never reads them, laytool
// says they are there.
TEST_F(LaytoolCheck, BytesAfterTheLastRecordAreAWarning)
{
    LayoutBytes bytes(2, 1);
    bytes.record(0, "A", 0, 0, 1, 2, 3, 4);
    writeFile(m_dir.file("clean.lay"), bytes.bytes);
    bytes.u32(0).bytes.push_back(7);
    const std::string file = m_dir.file("tail.lay");
    writeFile(file, bytes.bytes);

    const std::string warning = "5 bytes after the last record are no part of the layout";
    const ToolRun check = laytool({"check", file});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, file + ": warning: " + warning + "\n");
    EXPECT_EQ(laytool({"check", "--strict", file}).status, 1);
    EXPECT_NE(laytool({"check", "--json", file})
                  .out.find("\"line\": null, \"index\": null, \"name\": null, \"severity\": "
                            "\"warning\", \"kind\": \"trailing-bytes\", \"message\": \"" +
                            warning + "\"}"),
              std::string::npos);

    // dump prints the layout as without them, and warns.
    const ToolRun dump = laytool({"dump", file});
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, laytool({"dump", m_dir.file("clean.lay")}).out);
    EXPECT_EQ(dump.err, "laytool: warning: " + file + ": " + warning + "\n");
    EXPECT_EQ(laytool({"dump", m_dir.file("clean.lay")}).err, "");
    const ToolRun diff = laytool({"diff", m_dir.file("clean.lay"), file});
    EXPECT_EQ(diff.status, 0);
    EXPECT_EQ(diff.err, "laytool: warning: " + file + ": " + warning + "\n");

    // One byte, said as one; 2 GiB of zeros after a valid layout cost no reading.
    bytes.bytes.resize(bytes.bytes.size() - 4);
    writeFile(file, bytes.bytes);
    EXPECT_NE(laytool({"dump", file}).err.find("1 byte after the last record is no part"),
              std::string::npos);
    const std::uintmax_t layoutSize = std::filesystem::file_size(m_dir.file("clean.lay"));
    std::filesystem::resize_file(file, layoutSize + (std::uintmax_t{2} << 30));
    const ToolRun huge = laytool({"check", file});
    EXPECT_EQ(huge.out, file + ": warning: 2147483648 bytes after the last record are no part of "
                               "the layout\n");
}
