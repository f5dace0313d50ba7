// Pasting into layouts whose rectangles the shifted copies keep meeting: the place found is
// the documented rule's, and a million controls find theirs at once.
#include "LayoutFile.h"
#include "geometry/PasteRules.h"
#include "support/LayoutRecords.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <unordered_set>

using namespace testing_support;

namespace {

// The rule as documented, step by step: while any incoming rectangle that can move equals an
// existing one, all incoming move by (10, 10). Returns the number of steps (at most cap + 1).
int stepsByTheRule(const std::vector<LayoutControl>& existing, std::vector<LayoutControl> incoming,
                   int cap)
{
    const auto same = [](const LayoutControl& a, const LayoutControl& b) {
        return IdenticalRecords(box("", a.m_x1, a.m_y1, a.m_x2, a.m_y2),
                                box("", b.m_x1, b.m_y1, b.m_x2, b.m_y2));
    };
    int steps = 0;
    for (; steps <= cap; ++steps) {
        bool meets = false;
        for (const LayoutControl& c : incoming)
            for (const LayoutControl& e : existing)
                meets = meets || same(c, e);
        if (!meets)
            break;
        for (LayoutControl& c : incoming) {
            c.m_x1 += 10;
            c.m_y1 += 10;
            c.m_x2 += 10;
            c.m_y2 += 10;
        }
    }
    return steps;
}

double secondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(PasteRules, PastedNamesIdsAndPlaces)
{
    std::vector<LayoutControl> existing = {box("BTN", 0, 0, 10, 10), box("OK", 20, 0, 30, 10)};
    existing[0].m_id = 4;
    existing[1].m_id = 9;
    std::vector<LayoutControl> incoming = {box("BTN", 0, 0, 10, 10), box("NEW", 50, 50, 60, 60),
                                           box("BTN", 5, 5, 6, 6)};
    incoming[0].m_id = 4;
    incoming[1].m_id = 77;
    incoming[2].m_id = 9;
    std::string bad;
    ASSERT_TRUE(FitPastedControls(existing, incoming, bad));
    EXPECT_EQ(names(incoming), (std::vector<std::string>{"BTN_2", "NEW", "BTN_3"}));
    EXPECT_EQ(incoming[0].m_id, 10u) << "the next above the highest";
    EXPECT_EQ(incoming[1].m_id, 77u) << "a free id stays";
    EXPECT_EQ(incoming[2].m_id, 78u);
    EXPECT_EQ(incoming[0].m_x1, 10.0f) << "an identical rectangle moves all by (10, 10)";
    EXPECT_EQ(incoming[1].m_y1, 60.0f);

    existing.push_back(box("BTN_2", 0, 0, 1, 1));
    std::vector<LayoutControl> again = {box("BTN_2", 100, 100, 110, 110)};
    ASSERT_TRUE(FitPastedControls(existing, again, bad));
    EXPECT_EQ(again[0].m_name, "BTN_3") << "counted on from the stem";
    std::vector<LayoutControl> year = {box("ITEM_2023", 0, 0, 1, 1)};
    std::vector<LayoutControl> withYear = {box("ITEM_2023", 5, 5, 6, 6)};
    ASSERT_TRUE(FitPastedControls(withYear, year, bad));
    EXPECT_EQ(year[0].m_name, "ITEM_2023_2") << "no stem ITEM: the number is part of the name";

    std::vector<LayoutControl> wrong = {box("GOOD", 0, 0, 1, 1), box("1BAD", 0, 0, 1, 1)};
    EXPECT_FALSE(FitPastedControls(existing, wrong, bad));
    EXPECT_EQ(bad, "1BAD");
}

TEST(PasteRules, NamesAndIdsGivenOutEarlierInThePasteAreTakenToo)
{
    std::vector<LayoutControl> existing = {box("A", 0, 0, 10, 10)};
    existing[0].m_id = 5;
    // A becomes A_2, so the copied A_2 may not stay A_2.
    std::vector<LayoutControl> incoming = {box("A", 20, 20, 30, 30), box("A_2", 40, 40, 50, 50)};
    incoming[0].m_id = 5;
    incoming[1].m_id = 6;
    std::string bad;
    ASSERT_TRUE(FitPastedControls(existing, incoming, bad));
    EXPECT_EQ(names(incoming), (std::vector<std::string>{"A_2", "A_3"}));
    EXPECT_EQ(incoming[0].m_id, 6u);
    EXPECT_EQ(incoming[1].m_id, 7u) << "6 was given out to the first";

    // Copies that repeat each other keep what they were copied with; what the paste makes up
    // avoids them all.
    std::vector<LayoutControl> twice = {box("B", 0, 0, 1, 1), box("B", 2, 2, 3, 3),
                                        box("B_2", 4, 4, 5, 5)};
    twice[0].m_id = twice[1].m_id = 9;
    twice[2].m_id = 10;
    std::vector<LayoutControl> holding = {box("B_2", 50, 50, 60, 60)};
    holding[0].m_id = 10;
    ASSERT_TRUE(FitPastedControls(holding, twice, bad));
    EXPECT_EQ(names(twice), (std::vector<std::string>{"B", "B", "B_3"}));
    EXPECT_EQ(twice[0].m_id, 9u);
    EXPECT_EQ(twice[1].m_id, 9u);
    EXPECT_EQ(twice[2].m_id, 11u);
}

TEST(PasteRules, PastesOfRectanglesThatCannotMoveEndAtOnce)
{
    // A NaN corner stays NaN however far it moves, and huge ones do not move by 10 at all.
    std::vector<LayoutControl> existing;
    for (int i = 0; i < 300; ++i) {
        existing.push_back(box("N", std::numeric_limits<float>::quiet_NaN(), 0, 1, 1));
        existing.push_back(box("H", 1e30f, 1e30f, 2e30f, 2e30f));
        existing.push_back(box("OK", static_cast<float>(i), 0, static_cast<float>(i) + 5, 5));
    }
    std::vector<LayoutControl> incoming = existing;
    std::string bad;
    ASSERT_TRUE(FitPastedControls(existing, incoming, bad));
    EXPECT_TRUE(std::isnan(incoming[0].m_x1));
    EXPECT_EQ(incoming[1].m_x1, 1e30f) << "left where it was";
    EXPECT_EQ(incoming[2].m_x1, 10.0f) << "the others moved once, off every original";
    EXPECT_EQ(incoming[299 * 3 + 2].m_name, "OK_301") << "the suffixes go on from where they were";
}

// Small layouts on a 10-pixel grid meet their pasted copies often and at many shifts: the
// place found is always the rule's.
TEST(PasteRules, PastedPlacesFollowTheRuleWhereCopiesKeepMeeting)
{
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> cell(0, 6);
    std::uniform_int_distribution<int> count(1, 12);
    for (int round = 0; round < 400; ++round) {
        std::vector<LayoutControl> existing;
        std::vector<LayoutControl> incoming;
        for (auto* list : {&existing, &incoming}) {
            for (int i = count(random); i > 0; --i) {
                // Some on one diagonal with one size, so that a shift meets the next one.
                const float at = static_cast<float>(cell(random) * 10) + (round % 3 ? 0 : 0.5f);
                const float skew = round % 2 ? 0 : static_cast<float>(cell(random) * 10);
                list->push_back(box("C", at, at + skew, at + 20, at + skew + 15));
            }
        }
        const int cap = std::min<int>(static_cast<int>(existing.size() * incoming.size()), 1000);
        const int steps = stepsByTheRule(existing, incoming, cap);
        std::vector<LayoutControl> placed = incoming;
        std::string bad;
        ASSERT_TRUE(FitPastedControls(existing, placed, bad));
        for (std::size_t i = 0; i < incoming.size(); ++i) {
            ASSERT_EQ(placed[i].m_x1, incoming[i].m_x1 + 10.0f * static_cast<float>(steps))
                << "round " << round << ", control " << i;
            ASSERT_EQ(placed[i].m_y2, incoming[i].m_y2 + 10.0f * static_cast<float>(steps));
        }
    }

    // Fractions that a shift rounds: the copies of earlier pastes still count as met.
    std::vector<LayoutControl> stairs;
    LayoutControl fraction = box("F", 0.1f, 0.2f, 5.3f, 7.7f);
    for (int step = 0; step < 50; ++step) {
        std::vector<LayoutControl> paste = {fraction};
        std::string bad;
        ASSERT_TRUE(FitPastedControls(stairs, paste, bad));
        for (const LayoutControl& e : stairs)
            ASSERT_FALSE(e.m_x1 == paste[0].m_x1 && e.m_y1 == paste[0].m_y1 &&
                         e.m_x2 == paste[0].m_x2 && e.m_y2 == paste[0].m_y2)
                << "paste " << step << " landed on an earlier one";
        stairs.push_back(paste[0]);
    }
    EXPECT_NEAR(stairs.back().m_x1, 490.1f, 0.01f) << "each paste one step further";
}

// A million pasted controls cost about what they cost where nothing meets, however often the
// shifted copies meet the layout. (Measured against the same paste in the same build: the
// sanitizers slow everything alike.)
TEST(PasteRules, AMillionPastedControlsFindTheirPlaceAtOnce)
{
    constexpr int MILLION = 1000000;
    const auto fit = [](const std::vector<LayoutControl>& existing,
                        std::vector<LayoutControl>& incoming) {
        std::string bad;
        return secondsOf([&] { ASSERT_TRUE(FitPastedControls(existing, incoming, bad)); });
    };
    const auto moved = [](std::vector<LayoutControl> controls, float by) {
        for (LayoutControl& c : controls)
            c.m_x1 += by;
        return controls;
    };
    // A staircase that one pasted control meets at each of the 1000 shifts, that control
    // last; beside it, the same staircase 3 pixels off, which nothing meets.
    std::vector<LayoutControl> stairs;
    for (int k = 0; k < 1000; ++k) {
        const auto at = static_cast<float>(10 * k);
        stairs.push_back(box("S", at, at, at + 40, at + 20));
        stairs.back().m_id = static_cast<std::uint32_t>(k);
    }
    std::vector<LayoutControl> incoming;
    incoming.reserve(MILLION);
    for (int i = 0; i + 1 < MILLION; ++i) {
        incoming.push_back(box("P", static_cast<float>(i % 797), 3000, 2, 3001));
        incoming.back().m_id = static_cast<std::uint32_t>(i % 1000);
    }
    incoming.push_back(box("P", 0, 0, 40, 20));
    std::vector<LayoutControl> besides = incoming;
    const double apart = fit(moved(stairs, 3), besides);
    const double staircase = fit(stairs, incoming);
    std::printf("a million beside a staircase %.2f s, into it %.2f s\n", apart, staircase);
    EXPECT_LT(staircase, 2 * apart + 1);
    EXPECT_EQ(incoming.back().m_x1, 10000.0f) << "past the last stair";
    EXPECT_EQ(incoming.front().m_y1, 13000.0f);
    EXPECT_EQ(besides.back().m_x1, 0.0f);

    // A staircase of a million pasted onto itself, where every shift up to the cap meets,
    // against the same paste moved off by 3 pixels.
    std::vector<LayoutControl> self;
    self.reserve(MILLION);
    for (int i = 0; i < MILLION; ++i) {
        const auto at = static_cast<float>(10 * i);
        self.push_back(box("T", at, at, at + 5, at + 5));
    }
    incoming = self;
    for (LayoutControl& c : incoming)
        c.m_name = "U"; // the renaming of a million would cost the same in both
    besides = moved(incoming, 3);
    const double beside = fit(self, besides);
    const double onto = fit(self, incoming);
    std::printf("a million onto itself %.2f s, beside itself %.2f s\n", onto, beside);
    EXPECT_LT(onto, 2 * beside + 1);
    EXPECT_EQ(incoming[0].m_x1, 10010.0f) << "the capped 1001 steps";
    EXPECT_EQ(besides[0].m_x1, 3.0f);
}

// Where no id is left above the highest, the free ones from 0 serve; finding them costs as
// much as taking the next above the highest.
TEST(PasteRules, FreeIdsFromZeroAreFoundWithoutStartingOver)
{
    constexpr int COUNT = 20000;
    std::vector<LayoutControl> existing;
    for (int i = 0; i < COUNT; ++i) {
        existing.push_back(box("E", static_cast<float>(i), 0, static_cast<float>(i) + 5, 5));
        existing.back().m_id = static_cast<std::uint32_t>(2 * i); // every even id below 2 COUNT
    }
    std::vector<LayoutControl> incoming = existing;
    for (LayoutControl& c : incoming)
        c.m_y1 = 1;
    std::vector<LayoutControl> above = incoming;
    std::string bad;
    const double room = secondsOf([&] { ASSERT_TRUE(FitPastedControls(existing, above, bad)); });
    existing.back().m_id = UINT32_MAX;
    const double wrapped =
        secondsOf([&] { ASSERT_TRUE(FitPastedControls(existing, incoming, bad)); });
    std::printf("%d ids above the highest %.3f s, from 0 %.3f s\n", COUNT, room, wrapped);
    EXPECT_LT(wrapped, 2 * room + 0.2);
    EXPECT_EQ(incoming[0].m_id, 1u) << "the first odd one";
    EXPECT_EQ(incoming[COUNT - 2].m_id, static_cast<std::uint32_t>(2 * COUNT - 3));
    EXPECT_EQ(incoming[COUNT - 1].m_id, static_cast<std::uint32_t>(2 * COUNT - 2))
        << "free in the layout: kept";
    std::unordered_set<std::uint32_t> ids;
    for (const auto* list : {&existing, &incoming})
        for (const LayoutControl& c : *list)
            ASSERT_TRUE(ids.insert(c.m_id).second) << "id " << c.m_id << " given twice";
}
