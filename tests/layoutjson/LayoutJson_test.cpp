// The JSON form of a layout, bit for bit, and the text it refuses.
#include "JsonReader.h"
#include "LayoutFile.h"
#include "LayoutJson.h"
#include "Printable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A record whose four coordinates are given as their bits, in the order x1, y1, x2, y2.
LayoutControl bitsControl(std::uint32_t id, std::array<std::uint32_t, 4> bits)
{
    LayoutControl c;
    c.m_id = id;
    c.m_x1 = std::bit_cast<float>(bits[0]);
    c.m_y1 = std::bit_cast<float>(bits[1]);
    c.m_x2 = std::bit_cast<float>(bits[2]);
    c.m_y2 = std::bit_cast<float>(bits[3]);
    return c;
}

struct Parsed
{
    bool read;
    LayoutDataObject layout;
    std::string error;
};

Parsed parse(const std::string& text)
{
    Parsed p;
    p.read = LayoutFromJson(text, p.layout, p.error);
    return p;
}

// The exit status of body run in a child whose address space is capped a little above what it
// holds already, or -1 when the child did not end by itself (it ran out of memory).
int runInSmallMemory(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        unsigned long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max =
            pages * static_cast<unsigned long>(::sysconf(_SC_PAGESIZE)) + (256ul << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// One control with the given members.
Parsed parseOne(const std::string& members)
{
    return parse("{\"controls\": [{" + members + "}]}");
}

} // namespace

// Every NaN keeps its 32 bits through the text and back; plain "NaN" stays 0x7FC00000.
TEST(LayoutJson, NaNPayloadsSurvive)
{
    LayoutDataObject nans;
    nans.m_controls.push_back(bitsControl(1, {0x7FC00001u, 0xFFC00000u, 0x7F800001u, 0x7FC00000u}));
    nans.m_controls.push_back(bitsControl(2, {0xFFFFFFFFu, 0x7FFFFFFFu, 0xFF800001u, 0x3F800000u}));
    const std::string text = LayoutToJson(S_OK, nans);
    EXPECT_NE(text.find("\"x1\": \"NaN(0x7FC00001)\", \"y1\": \"NaN(0xFFC00000)\", "
                        "\"x2\": \"NaN(0x7F800001)\", \"y2\": \"NaN\"}"),
              std::string::npos)
        << text;
    const Parsed back = parse(text);
    ASSERT_TRUE(back.read) << back.error;
    EXPECT_TRUE(IdenticalRecords(back.layout.m_controls, nans.m_controls)) << text;

    // Lower-case digits read as well; a pattern that is no NaN does not.
    const Parsed lower = parseOne("\"x1\": \"NaN(0x7fc00002)\", \"y1\": \"NaN\"");
    ASSERT_TRUE(lower.read) << lower.error;
    ASSERT_EQ(lower.layout.m_controls.size(), 1u);
    EXPECT_TRUE(IdenticalRecords(lower.layout.m_controls[0],
                                 bitsControl(0, {0x7FC00002u, 0x7FC00000u, 0, 0})));
    for (const char* wrong : {"NaN(0x7F800000)", "NaN(0x3F800000)", "NaN(7FC00001)",
                              "NaN(0x1FFC000001)", "NaN(0x)", "nan", "NaN()"}) {
        const Parsed run = parseOne(std::string("\"x2\": \"") + wrong + "\"");
        EXPECT_FALSE(run.read) << wrong;
        EXPECT_NE(run.error.find("controls[0]: x2: expected"), std::string::npos) << run.error;
    }
}

// Decimal text rounds to float as the C library rounds it, to zero and subnormals too, sign
// and all; only a value beyond float's largest finite one is refused.
TEST(LayoutJson, CoordinatesRoundLikeTheCLibrary)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"1e-46", 0x00000000u},  {"-1e-46", 0x80000000u},         {"1e-50", 0x00000000u},
        {"-1e-50", 0x80000000u}, {"7e-46", 0x00000000u},          {"8e-46", 0x00000001u},
        {"-1e-40", 0x800116C2u}, {"1e-99999999999", 0x00000000u}, {"3.40282356e38", 0x7F7FFFFFu},
        {"-0", 0x80000000u},     {"16777217", 0x4B800000u},       {"0.1", 0x3DCCCCCDu},
    };
    for (const auto& [text, bits] : cases) {
        const Parsed run = parseOne(std::string("\"y1\": ") + text);
        ASSERT_TRUE(run.read) << text << ": " << run.error;
        ASSERT_EQ(run.layout.m_controls.size(), 1u);
        EXPECT_TRUE(IdenticalRecords(run.layout.m_controls[0], bitsControl(0, {0, bits, 0, 0})))
            << text;
    }
    for (const char* text : {"3.4028236e38", "-1e39", "1e400", "1e99999999999"}) {
        const Parsed run = parseOne(std::string("\"y1\": ") + text);
        EXPECT_FALSE(run.read) << text;
        EXPECT_NE(run.error.find("controls[0]: y1: expected a number within float's range"),
                  std::string::npos)
            << run.error;
        EXPECT_EQ(run.error.find("exception"), std::string::npos) << run.error;
    }
}

// What a .lay file cannot hold, or what says one thing twice, is refused with its place, and
// the layout it was to fill keeps the records it had.
TEST(LayoutJson, NamesWithZeroAndDuplicateKeysAreRefused)
{
    struct Case
    {
        std::string json;
        const char* message;
    };
    const Case cases[] = {
        {"{\"controls\": [{\"name\": \"A\\u0000B\"}]}",
         "line 1, column 24: controls[0]: name: U+0000 cannot be stored"},
        {"{\"controls\": [{\"x1\": 1,\n \"y1\": 2, \"x1\": 3}]}",
         "line 2, column 11: controls[0]: duplicate field \"x1\""},
        {"{\"controls\": [], \"controls\": []}", "line 1, column 18: duplicate key \"controls\""},
        {"{\"version\": 1, \"controls\": [],\n\"version\": 2}",
         "line 2, column 1: duplicate key \"version\""},
        {"{\"controls\": [{\"id\": 1, \"i\\u0064\": 2}]}", "duplicate field \"id\""},
        {"{\"controls\": []} x", "line 1, column 18: unexpected 'x' after the end"},
        {"{\"controls\": [{\"name\": \"\xFF\"}]}", "not UTF-8 \\xFF"},
        {"{\"controls\": [{\"id\": 01}]}", "line 1, column 22: invalid number '01'"},
        {"{\"skip\": " + std::string(600, '[') + std::string(600, ']') + ", \"controls\": []}",
         "nested deeper than 512 levels"},
    };
    for (const Case& c : cases) {
        LayoutDataObject layout;
        layout.m_controls.push_back(bitsControl(9, {1, 2, 3, 4}));
        std::string error;
        EXPECT_FALSE(LayoutFromJson(c.json, layout, error)) << c.json;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.json << "\n" << error;
        ASSERT_EQ(layout.m_controls.size(), 1u) << c.json;
        EXPECT_EQ(layout.m_controls[0].m_id, 9u) << c.json;
    }
    // Nested values under other keys may repeat their own keys: only ours are checked.
    EXPECT_TRUE(parseOne("\"id\": 7").read);
    EXPECT_TRUE(parse("{\"x\": {\"a\": 1, \"a\": 2}, \"controls\": []}").read);
}

// However long the token that is wrong, the message is one short line without the reader's
// internals.
TEST(LayoutJson, MessagesStayShort)
{
    const std::string huge(2 << 20, 'a');
    const std::string inputs[] = {
        "{\"controls\": [{\"name\": \"" + huge, // a string without its end
        "{\"controls\": [" + huge + "]}",       // a word that is no value
        "{\"controls\": [{\"id\": 1" + std::string(2 << 20, '0') + "x}]}",
        "{\"controls\": [{\"" + huge + "\": 1}]}", // an unknown field
        "{\"controls\": [{\"y2\": 1" + std::string(5000, '0') + "}]}",
    };
    for (const std::string& input : inputs) {
        const Parsed run = parse(input);
        EXPECT_FALSE(run.read);
        EXPECT_LE(run.error.size(), 200u) << run.error.substr(0, 400);
        EXPECT_EQ(run.error.find('\n'), std::string::npos) << run.error;
        EXPECT_EQ(run.error.find("exception"), std::string::npos) << run.error;
        EXPECT_EQ(run.error.rfind("line 1, column ", 0), 0u) << run.error;
    }
}

// Text in a message shows every byte that is no printable character as an escape, and a long
// one gives way in the middle, never inside a character or an escape. However long the text,
// that costs no more memory than the message.
TEST(LayoutJson, TextInMessagesIsPrintableShortAndCheap)
{
    EXPECT_EQ(Printable("a\\b\x01\xC3\xA4\xFF"), "a\\\\b\\x01\xC3\xA4\\xFF");
    EXPECT_EQ(Printable(std::string(50, 'x') + "END", 20), "xxxxx...xxxxxxxxxEND");
    EXPECT_EQ(Printable(std::string(10, '\x01'), 20), "\\x01...\\x01\\x01\\x01");
    EXPECT_EQ(Printable("\xE2\x82\xAC" + std::string(30, 'y') + "\xE2\x82\xAC", 10),
              "\xE2\x82\xACy...yyyy\xE2\x82\xAC");
    EXPECT_EQ(Printable(std::string(300, 'p'), std::string::npos), std::string(300, 'p'));

    const std::string key(16 << 20, 'k');
    const std::string text = "{\"controls\": [{\"" + key + "\": 1}]}";
    EXPECT_EQ(runInSmallMemory([&] {
                  LayoutDataObject layout;
                  std::string error;
                  const bool refused = !LayoutFromJson(text, layout, error);
                  return Printable(key, 40).size() == 40 && refused &&
                                 error.find("unknown field \"kkkkkkkkkkkk...kkk") !=
                                     std::string::npos
                             ? 0
                             : 1;
              }),
              0);
}

namespace {

// Text handed out a few bytes at a time, as a file or a pipe may; fails after failAfter bytes.
class DribbleSource : public JsonSource
{
public:
    explicit DribbleSource(std::string text, std::size_t failAfter = std::string::npos)
        : m_text(std::move(text)), m_failAfter(failAfter)
    {
    }
    bool Read(std::string& buffer, std::size_t wanted) override
    {
        if (m_at >= m_failAfter)
            return false;
        const std::size_t piece = std::min({wanted, m_text.size() - m_at, 1 + m_at % 7});
        buffer.append(m_text, m_at, piece);
        m_at += piece;
        return true;
    }

private:
    std::string m_text;
    std::size_t m_failAfter;
    std::size_t m_at = 0;
};

// A long valid start, so that a reader that lets go of what lies behind it has done so many
// times before it reaches what follows: lines, multi-byte characters and escapes included.
std::string longStart()
{
    std::string text = "{\"pad\": [";
    for (int i = 0; i < 6000; ++i)
        text += (i ? ",\n  " : "") +
                std::string("\"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\\u00e4\", ") +
                std::to_string(i) + ".5e1";
    return text + "],\n";
}

} // namespace

// Read a piece at a time, the text gives the same records, or the same message with the same
// line and column, as read whole.
TEST(LayoutJson, StreamedTextReadsAsTheWhole)
{
    const std::string start = longStart();
    std::vector<std::string> texts;
    for (const std::string& rest : std::vector<std::string>{
             "\"controls\": [{\"id\": 7, \"name\": \"\\u00c4\", \"x1\": -0.0, \"y2\": \"NaN\"}]}",
             "\"controls\": []}  \n ",
             "\"controls\": [{\"id\": 1,\n   \"name\": x}]}",
             "\"controls\": [{\"id\": 1" + std::string(200000, '0') + "x}]}",
             "\"controls\": [{\"" + std::string(200000, 'k') + "\": 1}]}",
             "\"controls\": [" + std::string(200000, 'a') + "]}",
             "\"controls\": [{\"name\": \"" + std::string(200000, 'n'),
             "\"controls\": [{\"name\": \"" + std::string(200000, 'n') + "\\q\"}]}",
             "\"controls\": [{\"y2\": 1" + std::string(100000, '0') + "}]}",
             "\"controls\": [{\"x1\": 1,\n \"y1\": 2, \"x1\": 3}]}",
             "\"controls\": [], \"controls\": []}",
             "\"controls\": [{\"name\": \"A\\u0000B\"}]}",
             "\"controls\": [{\"name\": \"\xFF\"}]}",
             "\"controls\": [{\"id\": 01}]}",
             "\"controls\": [nulls]}",
             "\"controls\": []} x",
             "\"controls\": [{\"id\": 1}" + std::string(100000, ' ') + "x",
             "\"other\": 1}",
         }) {
        texts.push_back(start + rest);
        texts.push_back("{" + rest);
    }
    for (const std::string& text : texts) {
        LayoutDataObject whole, streamed;
        std::string wholeError, streamedError;
        const bool wholeRead = LayoutFromJson(text, whole, wholeError);
        DribbleSource source(text);
        const bool streamedRead = LayoutFromJson(source, streamed, streamedError);
        const std::string what = text.substr(text.size() > 200 ? text.size() - 200 : 0);
        EXPECT_EQ(streamedRead, wholeRead) << what;
        EXPECT_EQ(streamedError, wholeError) << what;
        EXPECT_EQ(LayoutToJson(S_OK, streamed), LayoutToJson(S_OK, whole)) << what;
    }

    // A source that cannot read on fails the reading there, with nothing read.
    const std::string valid = start + "\"controls\": [{\"id\": 1}]}";
    DribbleSource failing(valid, valid.size() - 3);
    LayoutDataObject layout;
    std::string error;
    EXPECT_FALSE(LayoutFromJson(failing, layout, error));
    EXPECT_NE(error.find("could not be read"), std::string::npos) << error;
    EXPECT_TRUE(layout.m_controls.empty());
}
