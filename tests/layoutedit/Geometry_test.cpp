// The arithmetic of arranging, without a window: snapping, align, distribute, same size, order
// and the distances the canvas shows.
#include "LayoutFile.h"
#include "geometry/Arrange.h"
#include "geometry/HitIndex.h"
#include "geometry/Measure.h"
#include "geometry/Snap.h"
#include "support/LayoutRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

IndexedControls indexed(std::vector<LayoutControl> controls)
{
    IndexedControls result;
    for (std::size_t i = 0; i < controls.size(); ++i)
        result.emplace_back(i, controls[i]);
    return result;
}

} // namespace

TEST(Arranging, SnappingFindsTheNearestLineWithinTheTolerance)
{
    const std::vector<LayoutControl> controls = {box("A", 100, 50, 200, 80),
                                                 box("MOVING", 10.25f, 10, 20, 20)};
    const SnapLines lines = SnapLines::For(controls, {1}, 0);
    EXPECT_EQ(lines.xs, (std::vector<double>{0, 100, 150, 200, 400, 800}))
        << "the screen and A, not the control that moves";
    auto snap = SnapAxis({95.25, 120}, lines.xs, 0, 6);
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->line, 100);
    EXPECT_EQ(snap->shift, 4.75);
    EXPECT_FALSE(SnapAxis({93}, lines.xs, 0, 6)) << "seven away is too far";
    snap = SnapAxis({37}, lines.xs, 8, 6);
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->line, 40) << "the grid";
    EXPECT_FALSE(SnapAxis({std::numeric_limits<double>::quiet_NaN()}, lines.xs, 8, 6));
}

TEST(Arranging, AlignDistributeAndSameSize)
{
    // B is stored right to left: it aligns by its visual edges and stays that way round.
    const IndexedControls three = indexed(
        {box("A", 10, 10, 50, 30), box("B", 200, 40, 120, 100), box("C", 60, 150, 100, 170)});
    const LayoutBox around = AlignmentBox(three);
    EXPECT_EQ(around.left, 10);
    EXPECT_EQ(around.right, 200);
    EXPECT_EQ(around.bottom, 170);
    auto check = [&](Alignment alignment, float ax1, float bx1, float bx2, float cy1) {
        const IndexedControls done = Aligned(three, alignment, around);
        EXPECT_EQ(done[0].second.m_x1, ax1) << static_cast<int>(alignment);
        EXPECT_EQ(done[1].second.m_x1, bx1) << static_cast<int>(alignment);
        EXPECT_EQ(done[1].second.m_x2, bx2) << static_cast<int>(alignment);
        EXPECT_EQ(done[2].second.m_y1, cy1) << static_cast<int>(alignment);
        EXPECT_GT(done[1].second.m_x1, done[1].second.m_x2) << "orientation kept";
    };
    check(Alignment::Left, 10, 90, 10, 150);
    check(Alignment::HorizontalCentre, 85, 145, 65, 150);
    check(Alignment::Right, 160, 200, 120, 150);
    check(Alignment::Top, 10, 200, 120, 10);
    check(Alignment::VerticalCentre, 10, 200, 120, 80);
    check(Alignment::Bottom, 10, 200, 120, 150);
    // One control aligns to the screen.
    const IndexedControls one = indexed({box("A", 10, 10, 50, 30)});
    EXPECT_EQ(Aligned(one, Alignment::Right, AlignmentBox(one))[0].second.m_x2, 800.0f);
    EXPECT_EQ(Aligned(one, Alignment::VerticalCentre, AlignmentBox(one))[0].second.m_y1, 290.0f);

    // Four controls: the outer two stay, the gaps come out equal.
    const IndexedControls four = indexed({box("D", 300, 0, 337.5f, 10), box("A", 0, 0, 10.25f, 10),
                                          box("B", 20, 0, 50, 10), box("C", 100, 0, 101, 10)});
    const IndexedControls spread = Distributed(four, true);
    EXPECT_EQ(spread[0].second.m_x1, 300.0f);
    EXPECT_EQ(spread[1].second.m_x1, 0.0f);
    const double gap1 = spread[2].second.m_x1 - spread[1].second.m_x2;
    const double gap2 = spread[3].second.m_x1 - spread[2].second.m_x2;
    const double gap3 = spread[0].second.m_x1 - spread[3].second.m_x2;
    EXPECT_FLOAT_EQ(static_cast<float>(gap1), static_cast<float>(gap2));
    EXPECT_FLOAT_EQ(static_cast<float>(gap2), static_cast<float>(gap3));
    EXPECT_EQ(spread[2].second.m_x2 - spread[2].second.m_x1, 30.0f) << "widths kept";

    const IndexedControls sized = SameSize(three, three[0].second, true, false);
    EXPECT_EQ(sized[1].second.m_x1, 200.0f) << "the first corner stays";
    EXPECT_EQ(sized[1].second.m_x2, 240.0f);
    EXPECT_EQ(sized[1].second.m_y2, 100.0f) << "the height stays";
}

TEST(Arranging, OrderMovesTheSelectionAndKeepsItsOwnOrder)
{
    // A selection of two (B, D) in a list of five.
    using V = std::vector<std::size_t>;
    EXPECT_EQ(Reordered(5, {1, 3}, Order::Raise), (V{0, 2, 1, 4, 3}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::Lower), (V{1, 0, 3, 2, 4}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::ToTop), (V{0, 2, 4, 1, 3}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::ToBottom), (V{1, 3, 0, 2, 4}));
    EXPECT_EQ(Reordered(5, {3, 4}, Order::Raise), (V{0, 1, 2, 3, 4})) << "already on top";
}

TEST(Arranging, AControlWithoutAFinitePlaceSpoilsNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    const IndexedControls mixed = indexed({box("A", 0, 0, 10, 10), box("FAR", -inf, 0, 5, 5),
                                           box("B", 20, 20, 40, 40), box("C", 60, 0, 70, 10)});
    const LayoutBox around = AlignmentBox(mixed);
    EXPECT_EQ(around.left, 0) << "the box is of the finite ones";
    EXPECT_EQ(around.right, 70);
    for (const auto& changed : {Aligned(mixed, Alignment::Right, around), Distributed(mixed, true),
                                Resized(mixed, RIGHT | BOTTOM, 70, 0, false),
                                SameSize(mixed, mixed[2].second, true, true)}) {
        for (const auto& [index, c] : changed) {
            if (index != 1) {
                EXPECT_TRUE(std::isfinite(c.m_x1) && std::isfinite(c.m_x2)) << index;
            }
        }
        EXPECT_TRUE(IdenticalRecords(changed[1].second, mixed[1].second)) << "left as it was";
    }
    EXPECT_EQ(Resized(mixed, RIGHT, 70, 0, false)[3].second.m_x2, 140.0f) << "scaled about 0..70";
}

TEST(Distances, BetweenTheSelectionAndOneBox)
{
    const LayoutBox sel{100, 100, 200, 150, true};
    // Beside on the right, overlapping on y from 120 to 150: one line at their shared middle.
    auto measures = MeasuresBetween(sel, {260, 120, 300, 180, true});
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_TRUE(measures[0].horizontal);
    EXPECT_EQ(measures[0].from, 200);
    EXPECT_EQ(measures[0].to, 260);
    EXPECT_EQ(measures[0].at, 135);
    // The screen holds the selection on both axes: the room to all four edges.
    measures = MeasuresBetween(sel, {0, 0, 800, 600, true});
    ASSERT_EQ(measures.size(), 4u);
    EXPECT_EQ(measures[0].Length(), 100) << "left";
    EXPECT_EQ(measures[1].Length(), 600) << "right";
    EXPECT_EQ(measures[2].Length(), 100) << "top";
    EXPECT_EQ(measures[3].Length(), 450) << "bottom";
    EXPECT_TRUE(MeasuresBetween(sel, {150, 50, 250, 120, true}).empty())
        << "partly overlapping on both axes";
    EXPECT_TRUE(MeasuresBetween(sel, {200, 100, 250, 150, true}).empty()) << "touching: no gap";
    EXPECT_TRUE(MeasuresBetween(sel, {}).empty()) << "no finite place";
}

// The neighbours found through the hit index's cells are the ones one pass over every control
// finds, on each side, in layouts with controls of every size, reversed and without a place.
TEST(Distances, TheCellsFindTheNearestNeighboursAsOnePassDoes)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> place(-100.0f, 900.0f);
    std::uniform_real_distribution<float> size(-30.0f, 160.0f);
    std::size_t found = 0;
    for (int layout = 0; layout < 20; ++layout) {
        std::vector<LayoutControl> controls(150 + 40 * layout);
        for (LayoutControl& c : controls) {
            c.m_x1 = place(random);
            c.m_y1 = place(random);
            c.m_x2 = c.m_x1 + size(random);
            c.m_y2 = c.m_y1 + size(random);
            if (random() % 40 == 0)
                c.m_x2 = std::numeric_limits<float>::quiet_NaN();
            if (random() % 60 == 0)
                c.m_x1 = -1e30f; // reaches too many cells: always tried
        }
        std::vector<std::size_t> selected;
        for (std::size_t i = 0; i < controls.size(); ++i)
            if (random() % 30 == 0)
                selected.push_back(i);
        if (selected.empty())
            selected.push_back(0);
        LayoutBox sel;
        for (std::size_t i : selected)
            sel = Joined(sel, BoxOf(controls[i]));
        if (!sel.valid)
            continue;
        CHitIndex index;
        std::vector<double> byCells;
        for (int side : {RIGHT, LEFT, BOTTOM, TOP}) {
            const int nearest = index.NearestBeside(controls, sel, side, [&](std::size_t i) {
                return std::binary_search(selected.begin(), selected.end(), i);
            });
            if (nearest >= 0)
                byCells.push_back(
                    GapTo(sel, BoxOf(controls[static_cast<std::size_t>(nearest)]), side).Length());
        }
        std::vector<double> byPass;
        for (const Measure& m : NearestMeasures(sel, controls, selected))
            byPass.push_back(m.Length());
        EXPECT_EQ(byCells, byPass) << "layout " << layout;
        found += byPass.size();
    }
    EXPECT_GT(found, 40u) << "most layouts have neighbours on most sides";
}
