// The operations the keyboard adds: the next control, a new control, and the right and bottom
// edges by a step, each checked on the records, the steps and the selection they leave.
#include "EditFixture.h"
#include "actions/Editing.h"
#include "actions/Selection.h"

#include <cmath>
#include <limits>

using namespace testing_support;

namespace {

class KeyboardActionsTest : public EditFixture
{
protected:
    void SetUp() override
    {
        load({box("A", 10, 10, 50, 30), box("B", 100, 40, 161, 71), box("C", 320, 90, 300, 5)});
    }
    const LayoutControl& last() { return controls().back(); }
};

} // namespace

TEST_F(KeyboardActionsTest, NextAndPreviousGoRoundTheListAlone)
{
    model.SetSelection(nullptr, selection({0, 2}, 0));
    actions::SelectNext(model, 1);
    EXPECT_EQ(model.Selection(), SelectionState::Only(1)) << "the next one, alone";
    actions::SelectNext(model, 1);
    actions::SelectNext(model, 1);
    EXPECT_EQ(model.Selection(), SelectionState::Only(0)) << "past the end to the first";
    actions::SelectNext(model, -1);
    EXPECT_EQ(model.Selection(), SelectionState::Only(2)) << "before the first to the last";

    actions::SelectNone(model);
    actions::SelectNext(model, 1);
    EXPECT_EQ(model.CurrentIndex(), 0) << "nothing current: forward starts at the first";
    actions::SelectNone(model);
    actions::SelectNext(model, -1);
    EXPECT_EQ(model.CurrentIndex(), 2) << "and backward at the last";
    EXPECT_EQ(stack.count(), 0) << "selecting is no step";

    load({});
    actions::SelectNext(model, 1);
    EXPECT_EQ(model.Selection(), SelectionState());
}

TEST_F(KeyboardActionsTest, InsertPlacesNamesAndSelectsTheNewControl)
{
    std::vector<LayoutControl> taken = controls();
    taken[0].m_id = 3;
    taken[1].m_name = "UNBENANNT4";
    load(taken);
    model.SetSelection(nullptr, SelectionState::Only(1));
    checkStep([&] { actions::InsertNew(model, QStringLiteral("Steuerelement einfügen")); });
    ASSERT_EQ(controls().size(), 4u);
    EXPECT_EQ(last().m_x1, 100.0f) << "below the current control's left edge";
    EXPECT_EQ(last().m_y1, 81.0f) << "10 below its bottom";
    EXPECT_EQ(last().m_x2, 200.0f);
    EXPECT_EQ(last().m_y2, 111.0f);
    EXPECT_EQ(last().m_name, "UNBENANNT5") << "past the id 3 and the name 4 already taken";
    EXPECT_EQ(last().m_id, 5u);
    EXPECT_EQ(last().m_guiResourceId, 0u);
    EXPECT_EQ(model.Selection(), SelectionState::Only(3)) << "alone and current";
    EXPECT_EQ(stack.undoText(), QString::fromUtf8("Steuerelement einfügen: UNBENANNT5"));

    model.SetSelection(nullptr, SelectionState::Only(2));
    actions::InsertNew(model, QStringLiteral("x"));
    EXPECT_EQ(last().m_x1, 300.0f) << "stored right to left and bottom up: its box's corner";
    EXPECT_EQ(last().m_y1, 100.0f);

    actions::SelectNone(model);
    actions::InsertNew(model, QStringLiteral("x"));
    EXPECT_EQ(last().m_y1, 140.0f) << "nothing current: below the last control";
    EXPECT_EQ(model.CurrentIndex(), 5);

    controls()[5].m_y2 = std::numeric_limits<float>::quiet_NaN();
    actions::InsertNew(model, QStringLiteral("x"));
    EXPECT_EQ(last().m_x1, 10.0f) << "below a control without a place: the first place";
    EXPECT_EQ(last().m_y1, 10.0f);

    load({});
    checkStep([&] { actions::InsertNew(model, QStringLiteral("x")); });
    LayoutControl first = box("UNBENANNT0", 10, 10, 110, 40);
    first.m_id = 0;
    EXPECT_TRUE(IdenticalRecords(controls(), {first})) << "an empty layout's first control";
}

TEST_F(KeyboardActionsTest, GrowingMovesTheRightAndBottomEdgesOnly)
{
    model.SetSelection(nullptr, selection({0, 2}, 2));
    actions::Grow(model, 1, 0, false, QStringLiteral("Größe ändern"));
    EXPECT_EQ(controls()[0].m_x1, 10.0f);
    EXPECT_EQ(controls()[0].m_x2, 51.0f);
    EXPECT_EQ(controls()[2].m_x1, 321.0f) << "stored right to left: its x1 is the right edge";
    EXPECT_EQ(controls()[2].m_x2, 300.0f);
    actions::Grow(model, 0, 10, true, QStringLiteral("Größe ändern"));
    actions::Grow(model, 0, 10, true, QStringLiteral("Größe ändern"));
    EXPECT_EQ(stack.count(), 1) << "a key held down is one step";
    EXPECT_EQ(stack.undoText(), QString::fromUtf8("Größe ändern: 2 Steuerelemente"));
    EXPECT_EQ(controls()[0].m_y2, 50.0f);
    EXPECT_EQ(controls()[2].m_y1, 110.0f);
    EXPECT_EQ(controls()[2].m_y2, 5.0f);
    checkStep([&] { actions::Grow(model, -1, 0, false, QStringLiteral("x")); });
    EXPECT_EQ(controls()[0].m_x2, 50.0f) << "a new press is a step of its own";
    EXPECT_EQ(controls()[1].m_x2, 161.0f) << "the unselected control stays";

    // Shrinking stops at one pixel and never turns a control inside out.
    controls()[0] = box("A", 10, 10, 13, 30);
    controls()[2] = box("C", 300, 5, 300.5f, 90);
    actions::Grow(model, -10, 0, false, QStringLiteral("x"));
    EXPECT_EQ(controls()[0].m_x2, 11.0f);
    EXPECT_EQ(controls()[2].m_x2, 300.5f) << "narrower than a pixel already: it stays";
    actions::Grow(model, -1, -100, false, QStringLiteral("x"));
    EXPECT_EQ(controls()[0].m_x2, 11.0f);
    EXPECT_EQ(controls()[0].m_y2, 11.0f);

    controls()[0].m_x1 = std::numeric_limits<float>::infinity();
    const float before = controls()[0].m_x2;
    actions::Grow(model, 5, 5, false, QStringLiteral("x"));
    EXPECT_EQ(controls()[0].m_x2, before) << "a control without a finite place stays";
    EXPECT_TRUE(std::isinf(controls()[0].m_x1));

    actions::SelectNone(model);
    const int steps = stack.count();
    actions::Grow(model, 1, 1, false, QStringLiteral("x"));
    EXPECT_EQ(stack.count(), steps) << "no selection, no step";
}
