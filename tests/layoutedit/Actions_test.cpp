// The operations on a layout's selection, on the edit model alone: each is one step that
// undoes bit for bit and redoes, leaves the selection it promises, and does nothing where it
// has nothing to act on.
#include "EditFixture.h"
#include "actions/Arranging.h"
#include "actions/Editing.h"
#include "actions/Selection.h"

using namespace testing_support;

namespace {

class ActionsTest : public EditFixture
{
protected:
    void SetUp() override
    {
        load({box("A", 10, 10, 50, 30), box("B", 100, 40, 161, 71), box("C", 300, 5, 320, 90),
              box("D", 500, 500, 510, 510)});
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> all;
        for (const LayoutControl& c : layout.m_controls)
            all.push_back(c.m_name);
        return all;
    }
};

} // namespace

TEST_F(ActionsTest, ArrangingTheSelectionIsOneStepEach)
{
    model.SetSelection(nullptr, selection({0, 1, 2}, 1));
    checkStep([&] { actions::Align(model, Alignment::Left, QStringLiteral("Ausrichten")); });
    EXPECT_EQ(controls()[1].m_x1, 10.0f);
    EXPECT_EQ(controls()[1].m_x2, 71.0f) << "the width stays";
    EXPECT_EQ(controls()[3].m_x1, 500.0f) << "the unselected control stays";
    checkStep([&] { actions::Align(model, Alignment::VerticalCentre, QStringLiteral("x")); });
    checkStep([&] { actions::Distribute(model, false, QStringLiteral("Verteilen")); });
    checkStep([&] { actions::SameSize(model, true, true, QStringLiteral("Gleiche Größe")); });
    EXPECT_EQ(controls()[0].m_x2 - controls()[0].m_x1, 61.0f) << "the current control's size";
    EXPECT_EQ(controls()[2].m_y2 - controls()[2].m_y1, 31.0f);
    EXPECT_EQ(stack.undoText(), QString::fromUtf8("Gleiche Größe: 3 Steuerelemente"));

    checkStep([&] { actions::Reorder(model, Order::ToTop, QStringLiteral("Reihenfolge")); });
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "A", "B", "C"}));
    EXPECT_EQ(model.Selection(), selection({1, 2, 3}, 2));
    EXPECT_FALSE(actions::CanRaise(model)) << "at the end of the list already";
    EXPECT_TRUE(actions::CanLower(model));
    checkStep([&] { actions::Reorder(model, Order::Lower, QStringLiteral("x")); });
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C", "D"}));

    // One control aligns to the screen; too few are not distributed or made one size.
    model.SetSelection(nullptr, SelectionState::Only(3));
    actions::Align(model, Alignment::Right, QStringLiteral("x"));
    EXPECT_EQ(controls()[3].m_x2, 800.0f);
    EXPECT_FALSE(actions::CanDistribute(model));
    EXPECT_FALSE(actions::CanSameSize(model));
    const int steps = stack.count();
    actions::Distribute(model, true, QStringLiteral("x"));
    actions::SameSize(model, true, false, QStringLiteral("x"));
    EXPECT_EQ(stack.count(), steps) << "nothing changes, no step";
}

TEST_F(ActionsTest, NudgeDeleteAndTheirSelection)
{
    model.SetSelection(nullptr, selection({1, 2}, 2));
    actions::Nudge(model, 1, 0, false, QStringLiteral("Verschieben"));
    actions::Nudge(model, 1, 0, true, QStringLiteral("Verschieben"));
    actions::Nudge(model, 0, 10, true, QStringLiteral("Verschieben"));
    EXPECT_EQ(stack.count(), 1) << "a key held down is one step";
    EXPECT_EQ(controls()[1].m_x1, 102.0f);
    EXPECT_EQ(controls()[2].m_y1, 15.0f);
    checkStep([&] { actions::Nudge(model, 1, 0, false, QStringLiteral("Verschieben")); });
    EXPECT_EQ(stack.count(), 2) << "a new press is a new step";
    EXPECT_EQ(controls()[1].m_x1, 103.0f);

    checkStep([&] { actions::DeleteSelection(model, QStringLiteral("Löschen")); });
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(model.Selection(), SelectionState::Only(1)) << "the control that followed";
    model.SetSelection(nullptr, selection({0, 1}, 0));
    checkStep([&] { actions::DeleteSelection(model, QStringLiteral("Löschen")); });
    EXPECT_EQ(model.Selection(), SelectionState());
    const int steps = stack.count();
    actions::DeleteSelection(model, QStringLiteral("Löschen"));
    actions::Nudge(model, 1, 1, false, QStringLiteral("x"));
    EXPECT_EQ(stack.count(), steps) << "no selection, nothing to do";
}

TEST_F(ActionsTest, PasteAndDuplicateFitTheirNamesIdsAndPlaces)
{
    for (std::size_t i = 0; i < controls().size(); ++i)
        controls()[i].m_id = static_cast<std::uint32_t>(i);
    model.SetSelection(nullptr, selection({0, 1}, 1));
    std::string badName;
    checkStep([&] { EXPECT_TRUE(actions::Duplicate(model, QStringLiteral("x"), badName)); });
    ASSERT_EQ(controls().size(), 6u);
    EXPECT_EQ(controls()[4].m_name, "A_2");
    EXPECT_EQ(controls()[5].m_id, 5u) << "fresh ids above the highest";
    EXPECT_EQ(controls()[4].m_x1, 20.0f) << "moved off the originals";
    EXPECT_EQ(model.Selection(), selection({4, 5}, 5)) << "the copies are the selection";

    std::vector<LayoutControl> bad = {box("OK", 0, 0, 1, 1), box("1BAD", 0, 0, 1, 1)};
    const int steps = stack.count();
    EXPECT_FALSE(actions::Paste(model, bad, QStringLiteral("x"), badName));
    EXPECT_EQ(badName, "1BAD");
    EXPECT_EQ(stack.count(), steps) << "a bad name pastes nothing";
    checkStep([&] {
        EXPECT_TRUE(actions::Paste(model, {box("E", 0, 0, 1, 1)}, QStringLiteral("x"), badName));
    });
    EXPECT_EQ(controls().back().m_name, "E");
}

TEST_F(ActionsTest, SelectingIsNoStep)
{
    actions::SelectAll(model);
    EXPECT_EQ(model.Selection(), selection({0, 1, 2, 3}, 0)) << "the current one stays current";
    actions::Toggle(model, 0);
    EXPECT_EQ(model.Selection(), selection({1, 2, 3}, 3));
    actions::Toggle(model, 0);
    EXPECT_EQ(model.Selection(), selection({0, 1, 2, 3}, 0));
    actions::SelectAlone(model, 2);
    EXPECT_EQ(model.Selection(), SelectionState::Only(2));
    EXPECT_EQ(actions::SelectedRecords(model).front().m_name, "C");
    actions::SelectNone(model);
    EXPECT_FALSE(actions::HasSelection(model));
    actions::SelectAll(model);
    EXPECT_EQ(model.CurrentIndex(), 3) << "the last, when none was current";
    EXPECT_EQ(stack.count(), 0);
}
