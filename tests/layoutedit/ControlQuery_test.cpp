// The search field's queries: what each form of term matches, and what is no query.
#include "query/ControlQuery.h"
#include "support/LayoutRecords.h"

#include <gtest/gtest.h>

#include <limits>

using namespace testing_support;

namespace {

LayoutControl control(const char* name, std::uint32_t id, std::uint32_t text, std::uint32_t res,
                      float x1, float y1, float x2, float y2)
{
    LayoutControl c = box(name, x1, y1, x2, y2);
    c.m_id = id;
    c.m_textId = text;
    c.m_guiResourceId = res;
    return c;
}

const std::vector<LayoutControl> CONTROLS = {
    control("OK_BTN", 3, 5, 7, 100, 200, 180, 230),       // 0: 80 x 30
    control("CANCEL_BTN", 4, 6, 7, 200, 200, 320, 230),   // 1: 120 x 30
    control("Title", 10, 5, 0, 10, 10, 790, 50),          // 2: 780 x 40
    control("btn_help", 20, 0, 9, 700.5f, 540, 790, 590), // 3: 89.5 x 50
    control("LIST", 15, 0, 0, 400, 300, 300, 400),        // 4: -100 x 100, drawn right to left
};

} // namespace

TEST(ControlQuery, EachFormOfTermMatchesWhatItSays)
{
    struct Case
    {
        const char* query;
        std::vector<std::size_t> matching;
    };
    const Case cases[] = {
        {"", {0, 1, 2, 3, 4}},
        {"   ", {0, 1, 2, 3, 4}},
        {"BTN", {0, 1, 3}},
        {"btn", {0, 1, 3}},
        {"_b", {0, 1}},
        {"b*n", {0, 1, 3}},
        {"?ANCEL", {1}},
        {"T?T", {2}},
        {"^", {}},
        {"id:3", {0}},
        {"ID:3", {0}},
        {"id:10..20", {2, 3, 4}},
        {"id:..4", {0, 1}},
        {"id:15..", {3, 4}},
        {"text:5", {0, 2}},
        {"res:7", {0, 1}},
        {"w:>100", {1, 2}},
        {"w:>=120", {1, 2}},
        {"w:<80", {4}},
        {"w:<=80", {0, 4}},
        {"w:=89.5", {3}},
        {"h:<=30", {0, 1}},
        {"x:..400", {0, 1, 2, 4}},
        {"x:700.5", {3}},
        {"y:200", {0, 1}},
        {"x:-1e9..+1e9", {0, 1, 2, 3, 4}},
        {"btn res:7", {0, 1}},
        {"btn res:7 w:>100", {1}},
        {"btn  id:20", {3}},
    };
    for (const Case& c : cases) {
        const ControlQuery query = ControlQuery::Parse(QString::fromUtf8(c.query));
        EXPECT_TRUE(query.IsValid()) << c.query;
        EXPECT_EQ(query.Matching(CONTROLS), c.matching) << c.query;
    }
    EXPECT_TRUE(ControlQuery::Parse(QString()).IsEmpty());
    EXPECT_FALSE(ControlQuery::Parse(QStringLiteral("a")).IsEmpty());
}

TEST(ControlQuery, WhatIsNoQuerySaysWhyAndFiltersNothing)
{
    using Error = ControlQuery::Error;
    struct Case
    {
        const char* query;
        Error error;
        const char* term;
    };
    const Case cases[] = {
        {"size:3", Error::UnknownField, "size:3"},
        {"btn name:OK", Error::UnknownField, "name:OK"},
        {"id:", Error::NoValue, "id:"},
        {"w:>", Error::NotANumber, "w:>"},
        {"w:>abc", Error::NotANumber, "w:>abc"},
        {"x:1..2..3", Error::NotANumber, "x:1..2..3"},
        {"x:..", Error::NotANumber, "x:.."},
        {"id:3,4", Error::NotANumber, "id:3,4"},
        {"x:nan", Error::NotANumber, "x:nan"},
        {"x:inf", Error::NotANumber, "x:inf"},
        {"h:=>3", Error::NotANumber, "h:=>3"},
    };
    for (const Case& c : cases) {
        const ControlQuery query = ControlQuery::Parse(QString::fromUtf8(c.query));
        EXPECT_FALSE(query.IsValid()) << c.query;
        EXPECT_EQ(query.Problem(), c.error) << c.query;
        EXPECT_EQ(query.ProblemTerm(), QString::fromUtf8(c.term)) << c.query;
        EXPECT_EQ(query.Matching(CONTROLS).size(), CONTROLS.size()) << c.query;
    }
}

TEST(ControlQuery, NamesBeyondSevenBitsAndRecordsWithoutAPlace)
{
    LayoutControl latin = box("GR\xC4"
                              "SSE",
                              0, 0, 10, 10); // GRÄSSE, bytes as they are
    LayoutControl lost = box("LOST", std::numeric_limits<float>::quiet_NaN(), 0, 10, 10);
    EXPECT_TRUE(ControlQuery::Parse(QString::fromUtf8("GRÄ")).Matches(latin));
    EXPECT_FALSE(ControlQuery::Parse(QString::fromUtf8("GRä")).Matches(latin))
        << "only a to z match either case";
    EXPECT_FALSE(ControlQuery::Parse(QString::fromUtf8("€")).Matches(latin));
    EXPECT_TRUE(ControlQuery::Parse(QStringLiteral("lost")).Matches(lost));
    EXPECT_FALSE(ControlQuery::Parse(QStringLiteral("x:..1e9")).Matches(lost))
        << "no number is a NaN's";
    EXPECT_FALSE(ControlQuery::Parse(QStringLiteral("w:>-1e9")).Matches(lost));
}
