// The cells of the hit index answer what trying every control answers, through every kind of
// change, and a question costs the same at any size.
#include "geometry/HitIndex.h"
#include "geometry/HitTest.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

LayoutControl randomControl(std::mt19937& random)
{
    std::uniform_real_distribution<float> place(-150.0f, 950.0f);
    std::uniform_real_distribution<float> size(-40.0f, 120.0f);
    LayoutControl c;
    c.m_x1 = place(random);
    c.m_y1 = place(random);
    c.m_x2 = c.m_x1 + size(random);
    c.m_y2 = c.m_y1 + size(random);
    switch (random() % 25) {
    case 0:
        c.m_x2 = std::numeric_limits<float>::quiet_NaN();
        break;
    case 1:
        c.m_x1 = -std::numeric_limits<float>::infinity();
        break;
    case 2: // the whole screen and more: too many cells
        c.m_x1 = -10;
        c.m_y1 = -10;
        c.m_x2 = 810;
        c.m_y2 = 610;
        break;
    case 3:
        c.m_x2 = c.m_x1; // no width
        break;
    default:
        break;
    }
    return c;
}

void expectSameAnswers(CHitIndex& index, const std::vector<LayoutControl>& controls,
                       std::mt19937& random, int step)
{
    std::uniform_real_distribution<double> point(-250.0, 1050.0);
    for (int q = 0; q < 40; ++q) {
        const double x = point(random), y = point(random);
        const double tolerance = q % 3 == 0 ? 0.0 : 3.0 * (q % 4 + 1);
        ASSERT_EQ(index.TopmostAt(controls, x, y, tolerance),
                  TopmostControlAt(controls, x, y, tolerance))
            << "step " << step << " at " << x << ", " << y;
        std::vector<int> all;
        for (std::size_t i = controls.size(); i-- > 0;)
            if (ControlContains(controls[i], x, y, tolerance))
                all.push_back(static_cast<int>(i));
        ASSERT_EQ(index.AllAt(controls, x, y, tolerance), all) << "step " << step;
    }
}

} // namespace

TEST(HitIndex, AnswersAsTryingEveryControlDoesThroughEveryChange)
{
    std::mt19937 random(5);
    std::vector<LayoutControl> controls(400);
    for (LayoutControl& c : controls)
        c = randomControl(random);
    CHitIndex index;
    expectSameAnswers(index, controls, random, -1);
    for (int step = 0; step < 80; ++step) {
        LayoutChange hint;
        switch (random() % 5) {
        case 0: { // moved, as in a drag
            const std::size_t i = random() % controls.size();
            controls[i].m_x1 += 7;
            controls[i].m_x2 += 7;
            hint.flags = LayoutChange::RECORDS;
            hint.indices = {i};
            break;
        }
        case 1: { // replaced by anything
            const std::size_t i = random() % controls.size();
            controls[i] = randomControl(random);
            hint.flags = LayoutChange::RECORDS;
            hint.indices = {i};
            break;
        }
        case 2: // drawn at the end
            controls.push_back(randomControl(random));
            hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
            hint.indices = {controls.size() - 1};
            break;
        case 3: // one taken out
            controls.erase(controls.begin() +
                           static_cast<std::ptrdiff_t>(random() % controls.size()));
            hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
            break;
        default: // only the selection
            hint.flags = LayoutChange::SELECTION;
            break;
        }
        index.Changed(hint, controls);
        expectSameAnswers(index, controls, random, step);
    }
    EXPECT_LT(index.Builds(), 40) << "most changes follow the cells, not a new index";
}

TEST(HitIndex, AControlWithANaNCornerHoldsNoPoint)
{
    LayoutControl c;
    c.m_x1 = 10;
    c.m_y1 = 10;
    c.m_x2 = std::numeric_limits<float>::quiet_NaN();
    c.m_y2 = 50;
    EXPECT_FALSE(ControlContains(c, 10, 20, 3)) << "min and max would skip the NaN";
    CHitIndex index;
    EXPECT_EQ(index.TopmostAt({c}, 10, 20, 3), -1);
}
