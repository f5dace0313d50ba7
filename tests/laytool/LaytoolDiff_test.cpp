// laytool diff: matching controls, the lines it prints and its exit status.
#include "laytool/LaytoolSupport.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <limits>

using namespace testing_support;

namespace {

struct Control
{
    std::uint32_t id;
    std::string name;
    float x1, y1, x2, y2;
    std::uint32_t gui = 0, text = 0;
};

class LaytoolDiff : public ::testing::Test
{
protected:
    std::string write(const std::string& file, const std::vector<Control>& controls,
                      std::uint32_t version = 2)
    {
        LayoutBytes bytes(version, static_cast<std::uint32_t>(controls.size()));
        for (const Control& c : controls)
            bytes.record(c.id, c.name, c.gui, c.text, c.x1, c.y1, c.x2, c.y2);
        writeFile(m_dir.file(file), bytes.bytes);
        return m_dir.file(file);
    }
    ToolRun diff(const std::vector<Control>& a, const std::vector<Control>& b, bool json = false)
    {
        std::vector<std::string> arguments = {"diff", write("a.lay", a), write("b.lay", b)};
        if (json)
            arguments.insert(arguments.begin() + 1, "--json");
        return laytool(arguments);
    }

    TempDir m_dir;
};

const Control A{1, "A", 10, 20, 110, 70, 5, 6};
const Control B{2, "B", 0, 0, 50, 50};
const Control C{3, "C", 100, 100, 200, 200};
const Control D{4, "D", 1.5f, 2.5f, 3.5f, 4.5f};

} // namespace

TEST_F(LaytoolDiff, EqualLayoutsPrintNothing)
{
    ToolRun same = diff({A, B, C}, {A, B, C});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(diff({}, {}).status, 0);
    EXPECT_EQ(diff({A, B}, {A, B}, true).out, "{\"equal\": true, \"changes\": []}\n");

    // The same controls in a version-1 file: its text ids read as 0.
    Control noText = A;
    noText.text = 0;
    const std::string v1 = write("v1.lay", {noText, B}, 1);
    const std::string v2 = write("v2.lay", {noText, B});
    EXPECT_EQ(laytool({"diff", v1, v2}).status, 0);

    // A NaN equals itself bit for bit.
    Control nan = C;
    nan.x2 = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(diff({nan}, {nan}).status, 0);
}

TEST_F(LaytoolDiff, EachChangedFieldIsOneLine)
{
    struct Case
    {
        void (*change)(Control&);
        const char* line;
    };
    const Case cases[] = {
        {[](Control& c) { c.id = 4294967295u; }, "~ A id: 1 -> 4294967295\n"},
        {[](Control& c) { c.gui = 0; }, "~ A guiResourceId: 5 -> 0\n"},
        {[](Control& c) { c.text = 7; }, "~ A textId: 6 -> 7\n"},
        {[](Control& c) { c.x1 = 0.1f; }, "~ A x1: 10 -> 0.1\n"},
        {[](Control& c) { c.y1 = 1e-45f; }, "~ A y1: 20 -> 1e-45\n"},
        {[](Control& c) { c.x2 = std::numeric_limits<float>::infinity(); },
         "~ A x2: 110 -> Infinity\n"},
        {[](Control& c) { c.y2 = std::numeric_limits<float>::quiet_NaN(); }, "~ A y2: 70 -> NaN\n"},
    };
    for (const Case& c : cases) {
        Control changed = A;
        c.change(changed);
        const ToolRun run = diff({B, A}, {B, changed});
        EXPECT_EQ(run.status, 1) << c.line;
        EXPECT_EQ(run.out, c.line);
    }

    // Bits decide: -0 is not 0, and one NaN is not another.
    Control zero = B, negativeZero = B;
    negativeZero.x1 = -0.0f;
    EXPECT_EQ(diff({zero}, {negativeZero}).out, "~ B x1: 0 -> -0.0\n");
    Control nan = B, otherNan = B;
    nan.y1 = std::numeric_limits<float>::quiet_NaN();
    otherNan.y1 = std::bit_cast<float>(0x7FC00001u);
    EXPECT_EQ(diff({nan}, {otherNan}).out, "~ B y1: NaN -> NaN(0x7FC00001)\n");

    // Several fields of one control: one line each, in dump's order.
    Control both = A;
    both.y2 = 71;
    both.id = 9;
    EXPECT_EQ(diff({A}, {both}).out, "~ A id: 1 -> 9\n~ A y2: 70 -> 71\n");
}

TEST_F(LaytoolDiff, AddedRemovedAndMovedControls)
{
    EXPECT_EQ(diff({A, B}, {A, B, C}).out, "+ C\n");
    EXPECT_EQ(diff({A, B, C}, {A, C}).out, "- B\n");
    // Inserting or removing in front shifts the others without moving them.
    EXPECT_EQ(diff({A, B, C}, {D, A, B, C}).out, "+ D\n");
    EXPECT_EQ(diff({A, B, C}, {B, C}).out, "- A\n");

    const ToolRun moved = diff({A, B, C, D}, {B, C, D, A});
    EXPECT_EQ(moved.status, 1);
    EXPECT_EQ(moved.out, "> A moved from index 0 to 3\n");

    Control changedC = C;
    changedC.x1 = 101;
    EXPECT_EQ(diff({A, B, C}, {D, changedC, A}).out, "- B\n"
                                                     "+ D\n"
                                                     "~ C x1: 100 -> 101\n"
                                                     "> A moved from index 0 to 2\n");
}

// A control that no control of the other layout matches by name, but one matches by id, is
// that control renamed: one change, not a removal and an addition.
TEST_F(LaytoolDiff, RenamesPairById)
{
    const Control help{5, "BTN_HELP", 10, 10, 90, 30}, ok{6, "BTN_OK", 100, 10, 190, 30};
    Control info = help;
    info.name = "BTN_INFO";
    const ToolRun renamed = diff({help, ok}, {info, ok});
    EXPECT_EQ(renamed.status, 1);
    EXPECT_EQ(renamed.out, "~ BTN_HELP -> BTN_INFO\n");

    // Renamed, moved and changed: the rename first, then the rest under the new name.
    Control wider = info;
    wider.x2 = 95;
    EXPECT_EQ(diff({help, ok, A}, {ok, A, wider}).out, "~ BTN_HELP -> BTN_INFO\n"
                                                       "> BTN_INFO moved from index 0 to 2\n"
                                                       "~ BTN_INFO x2: 90 -> 95\n");

    // Names match first: a new control that took the old name is that control, and the one
    // with the old id is new.
    Control helpNow = help;
    helpNow.id = 9;
    EXPECT_EQ(diff({help}, {helpNow, info}).out, "~ BTN_HELP id: 5 -> 9\n+ BTN_INFO\n");
    // Of several left with one id, the first with the first.
    Control other = ok;
    other.id = 5;
    other.name = "BTN_OTHER";
    EXPECT_EQ(diff({help, other}, {info}).out, "- BTN_OTHER\n~ BTN_HELP -> BTN_INFO\n");
    // Different ids stay a removal and an addition.
    Control unrelated = info;
    unrelated.id = 77;
    EXPECT_EQ(diff({help}, {unrelated}).out, "- BTN_HELP\n+ BTN_INFO\n");

    const ToolRun json = diff({help, ok}, {ok, wider}, true);
    EXPECT_EQ(json.out, "{\"equal\": false, \"changes\": [\n"
                        "  {\"change\": \"renamed\", \"name\": \"BTN_INFO\", \"from\": 0, "
                        "\"to\": 1, \"old\": \"BTN_HELP\", \"new\": \"BTN_INFO\"},\n"
                        "  {\"change\": \"moved\", \"name\": \"BTN_INFO\", \"from\": 0, "
                        "\"to\": 1},\n"
                        "  {\"change\": \"changed\", \"name\": \"BTN_INFO\", \"from\": 0, "
                        "\"to\": 1, \"field\": \"x2\", \"old\": 90, \"new\": 95}\n"
                        "]}\n");
}

TEST_F(LaytoolDiff, RepeatedNamesMatchByOccurrence)
{
    Control x1{1, "X", 1, 1, 2, 2}, x2{2, "X", 3, 3, 4, 4}, x3{3, "X", 5, 5, 6, 6};
    // The second X changed: its line, not the first's.
    Control x2changed = x2;
    x2changed.x2 = 40;
    EXPECT_EQ(diff({x1, x2, B}, {x1, x2changed, B}).out, "~ X x2: 4 -> 40\n");
    // One X fewer: the last occurrence is the one removed.
    EXPECT_EQ(diff({x1, x2, x3}, {x1, x2}).out, "- X\n");
    // The first X is dropped: the occurrences shift, so the fields of the others differ.
    EXPECT_EQ(diff({x1, x2}, {x2}).out, "- X\n"
                                        "~ X id: 1 -> 2\n"
                                        "~ X x1: 1 -> 3\n"
                                        "~ X y1: 1 -> 3\n"
                                        "~ X x2: 2 -> 4\n"
                                        "~ X y2: 2 -> 4\n");
    // Empty and odd names are shown so that they can be told apart.
    Control empty{7, "", 0, 0, 1, 1}, odd{8, "A\tB\\\xE4", 0, 0, 1, 1};
    EXPECT_EQ(diff({}, {empty, odd}).out, "+ \"\"\n+ A\\x09B\\\\\xC3\xA4\n");
}

TEST_F(LaytoolDiff, JsonForm)
{
    Control changedB = B;
    changedB.x1 = std::numeric_limits<float>::quiet_NaN();
    const ToolRun run = diff({A, B, C}, {changedB, A, D}, true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "{\"equal\": false, \"changes\": [\n"
                       "  {\"change\": \"removed\", \"name\": \"C\", \"from\": 2},\n"
                       "  {\"change\": \"changed\", \"name\": \"B\", \"from\": 1, \"to\": 0, "
                       "\"field\": \"x1\", \"old\": 0, \"new\": \"NaN\"},\n"
                       "  {\"change\": \"moved\", \"name\": \"A\", \"from\": 0, \"to\": 1},\n"
                       "  {\"change\": \"added\", \"name\": \"D\", \"to\": 2}\n"
                       "]}\n");
}

TEST_F(LaytoolDiff, TroubleAndWrongUsageExitWithTwo)
{
    const std::string good = write("good.lay", {A});
    ToolRun missing = laytool({"diff", good, m_dir.file("gone.lay")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "laytool: cannot read " + m_dir.file("gone.lay") +
                               ": No such file or directory (0x80070002)\n");

    LayoutBytes cut(2, 2);
    cut.record(1, "A", 0, 0, 1, 2, 3, 4);
    writeFile(m_dir.file("cut.lay"), cut.bytes);
    ToolRun broken = laytool({"diff", "--json", m_dir.file("cut.lay"), good});
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find("cut short"), std::string::npos) << broken.err;
    writeFile(m_dir.file("v3.lay"), LayoutBytes(3, 0).bytes);
    EXPECT_EQ(laytool({"diff", good, m_dir.file("v3.lay")}).status, 2);

    EXPECT_EQ(laytool({"diff", good}).status, 2);
    EXPECT_EQ(laytool({"diff", good, good, good}).status, 2);
    ToolRun strict = laytool({"diff", "--strict", good, good});
    EXPECT_EQ(strict.status, 2);
    EXPECT_NE(strict.err.find("usage: laytool diff"), std::string::npos);
    ToolRun help = laytool({"diff", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: laytool diff [--trace] [--json] A.lay B.lay\n", 0), 0u);
}
