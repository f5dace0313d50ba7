// The edit model alone: every kind of step applied, undone bit for bit and redone; merging
// within a gesture; the selection around steps; indices that do not fit refused; and what the
// listener hears.
#include "EditFixture.h"
#include "commands/LayoutCommand.h"

#include <bit>
#include <limits>

using namespace testing_support;

namespace {

using EditModelTest = EditFixture;

const float NAN_PAYLOAD = std::bit_cast<float>(0x7FC00123u);

} // namespace

TEST_F(EditModelTest, EveryKindOfStepUndoesAndRedoes)
{
    load({box("A", 1, 2, 3, 4), box("B", -0.0f, 5, 6, 7), box("C", NAN_PAYLOAD, 8, 9, 10)});
    checkStep([&] {
        LayoutControl changed = controls()[1];
        changed.m_x1 = 0.0f; // -0 and 0 differ in their bits
        model.ChangeControl(nullptr, 1, changed, QStringLiteral("X1 ändern"), MERGE_X1);
    });
    EXPECT_EQ(stack.text(0), QStringLiteral("X1 ändern: B")) << "named after its control";
    checkStep([&] {
        LayoutControl a = controls()[0];
        LayoutControl c = controls()[2];
        a.m_name = "MOVED";
        c.m_y2 = std::numeric_limits<float>::infinity();
        model.ChangeControls(nullptr, {{0, a}, {2, c}}, QStringLiteral("Verschieben"), MERGE_MOVE);
    });
    EXPECT_EQ(stack.text(1), QStringLiteral("Verschieben: 2 Steuerelemente"));
    EXPECT_TRUE(heard.back().flags & LayoutChange::NAMES) << "a name changed";
    EXPECT_EQ(heard.back().indices, (std::vector<std::size_t>{0, 2}));

    model.SetSelection(nullptr, selection({0, 1}, 1));
    checkStep([&] { model.RemoveControls(nullptr, {1}, 0, QStringLiteral("Löschen")); });
    EXPECT_EQ(model.Selection(), SelectionState::Only(0));
    checkStep([&] {
        model.InsertControls(nullptr, {{0, box("X", 1, 1, 2, 2)}, {2, box("Y", 3, 3, 4, 4)}},
                             QStringLiteral("Einfügen"));
    });
    ASSERT_EQ(controls().size(), 4u);
    EXPECT_EQ(controls()[2].m_name, "Y");
    EXPECT_EQ(model.Selection(), selection({0, 2}, 2)) << "the inserted ones, the last current";

    model.SetSelection(nullptr, selection({0, 3}, 3));
    checkStep([&] { model.ReorderControls(nullptr, {3, 0, 2, 1}, QStringLiteral("Reihenfolge")); });
    EXPECT_EQ(controls()[0].m_name, "C");
    EXPECT_EQ(model.Selection(), selection({0, 1}, 0)) << "the selection moves with its controls";
    checkStep([&] { model.RemoveControls(nullptr, {0, 3}, -1, QStringLiteral("Löschen")); });
    checkStep([&] {
        model.ReplaceControls(nullptr, {box("NEW", 0, 0, 1, 1)}, QStringLiteral("Neu geladen"));
    });
    EXPECT_EQ(model.CurrentIndex(), 0);
    EXPECT_EQ(heard.back().flags & (LayoutChange::RECORDS | LayoutChange::LIST),
              LayoutChange::RECORDS | LayoutChange::LIST);
}

TEST_F(EditModelTest, NothingToDoAndIndicesThatDoNotFitMakeNoStep)
{
    load({});
    model.ReorderControls(nullptr, {}, QStringLiteral("Reihenfolge"));
    model.RemoveControls(nullptr, {}, -1, QStringLiteral("Löschen"));
    model.ChangeControls(nullptr, {}, QStringLiteral("x"), MERGE_NONE);
    EXPECT_EQ(stack.count(), 0) << "nothing to do is no step";
    model.RemoveControls(nullptr, {0}, -1, QStringLiteral("Löschen"));
    model.InsertControls(nullptr, {{1, box("A", 0, 0, 1, 1)}}, QStringLiteral("Einfügen"));
    model.ReorderControls(nullptr, {0}, QStringLiteral("Reihenfolge"));
    EXPECT_EQ(stack.count(), 0);

    load({box("A", 0, 0, 1, 1), box("B", 0, 0, 1, 1)});
    model.ChangeControl(nullptr, 2, box("C", 0, 0, 1, 1), QStringLiteral("x"), MERGE_NONE);
    model.RemoveControls(nullptr, {1, 0}, -1, QStringLiteral("Löschen")) /* not ascending */;
    model.ReorderControls(nullptr, {1, 1}, QStringLiteral("Reihenfolge")) /* not every control */;
    model.ChangeControl(nullptr, 0, controls()[0], QStringLiteral("x"), MERGE_NONE);
    EXPECT_EQ(stack.count(), 0) << "refused, and a change to the same bits is none";
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(controls().size(), 2u);
}

TEST_F(EditModelTest, StepsOfOneGestureMergeAndAStepBackToTheStartIsDropped)
{
    load({box("A", 1, 2, 3, 4), box("B", 5, 6, 7, 8)});
    auto setX1 = [&](std::size_t index, float x1) {
        LayoutControl c = controls()[index];
        c.m_x1 = x1;
        model.ChangeControl(nullptr, index, c, QStringLiteral("X1 ändern"), MERGE_X1);
    };
    setX1(0, 10);
    setX1(0, 100);
    EXPECT_EQ(stack.count(), 1);
    setX1(0, 1);
    EXPECT_EQ(stack.count(), 0) << "back where it began: no step";

    setX1(0, 10);
    setX1(1, 10);
    EXPECT_EQ(stack.count(), 2) << "another control is another step";
    model.NewGesture();
    setX1(1, 20);
    EXPECT_EQ(stack.count(), 3) << "another gesture is another step";
    LayoutControl b = controls()[1];
    b.m_y1 = 60;
    model.ChangeControl(nullptr, 1, b, QStringLiteral("Y1 ändern"), MERGE_Y1);
    ASSERT_EQ(stack.count(), 4);
    stack.undo();
    setX1(1, 30);
    EXPECT_EQ(stack.count(), 4) << "after an undo nothing merges into the step before";
    EXPECT_EQ(stack.index(), 4);

    stack.setClean();
    setX1(1, 40);
    EXPECT_EQ(stack.count(), 5) << "merging stops at the saved step";
    stack.undo();
    EXPECT_TRUE(stack.isClean());
    EXPECT_EQ(controls()[1].m_x1, 30.0f);

    // A merged run is named after its last step: a rename typed key by key.
    model.NewGesture();
    for (const char* name : {"O", "OK", "OK_BTN"}) {
        LayoutControl renamed = controls()[0];
        renamed.m_name = name;
        model.ChangeControl(nullptr, 0, renamed, QStringLiteral("Umbenennen"), MERGE_NAME);
    }
    EXPECT_EQ(stack.undoText(), QStringLiteral("Umbenennen: OK_BTN"));
}

TEST_F(EditModelTest, TheListenerHearsWhatChangedAndWhoAskedForIt)
{
    load({box("A", 0, 0, 1, 1), box("B", 2, 2, 3, 3)});
    int asker = 0;
    LayoutControl a = controls()[0];
    a.m_x2 = 5;
    model.ChangeControl(&asker, 0, a, QStringLiteral("x"), MERGE_NONE);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(senders.back(), &asker);
    EXPECT_EQ(heard.back().sender, &asker) << "a tool knows its own change by it";
    EXPECT_EQ(heard.back().flags, LayoutChange::RECORDS) << "no name, list or selection";
    stack.undo();
    EXPECT_EQ(senders.back(), nullptr) << "an undo is everyone's news";

    model.SetSelection(&asker, selection({0, 1}, 1));
    EXPECT_EQ(heard.back().flags, LayoutChange::SELECTION | LayoutChange::CURRENT);
    model.SetSelection(nullptr, selection({0, 1}, 0));
    EXPECT_EQ(heard.back().flags, LayoutChange::SELECTION | LayoutChange::CURRENT);
    const std::size_t told = heard.size();
    model.SetSelection(nullptr, selection({0, 1}, 0));
    EXPECT_EQ(heard.size(), told) << "the same selection is no news";
    model.SetSelection(nullptr, selection({0, 1, 7}, 7));
    EXPECT_EQ(model.Selection(), selection({0, 1}, -1)) << "trimmed to the list";
}

TEST_F(EditModelTest, OneSelectedControlAtMostWhileSingle)
{
    load({box("A", 0, 0, 1, 1), box("B", 2, 2, 3, 3), box("C", 4, 4, 5, 5)});
    model.SetSelection(nullptr, selection({0, 1, 2}, 1));
    model.SetSingleSelection(true);
    EXPECT_EQ(model.Selection(), SelectionState::Only(1)) << "the current control stays";
    model.SetSelection(nullptr, selection({0, 2}, 2));
    EXPECT_EQ(model.Selection(), SelectionState::Only(2));

    model.SetSingleSelection(false);
    model.SetSelection(nullptr, SelectionState());
    LayoutControl moved = controls()[1];
    moved.m_x1 = 9;
    model.ChangeControl(nullptr, 1, moved, QStringLiteral("x"), MERGE_NONE);
    model.SetSingleSelection(true);
    EXPECT_EQ(model.Selection(), SelectionState::Only(0)) << "the first, when none was current";
    stack.undo();
    EXPECT_EQ(model.Selection(), SelectionState::Only(0))
        << "a step made with nothing current keeps one current when undone";
}

TEST_F(EditModelTest, DrawnNumbersSkipWhatTheLayoutHoldsAndFollowEveryStep)
{
    load({box("UNBENANNT2", 0, 0, 1, 1), box("A", 0, 0, 1, 1)});
    controls()[1].m_id = 3;
    model.StartAfresh(0);
    EXPECT_EQ(model.NextDrawnNumber(), 4u) << "2 is a name, 3 an id";
    model.InsertControls(nullptr, {{2, box("UNBENANNT4", 0, 0, 1, 1)}}, QStringLiteral("x"));
    EXPECT_EQ(model.NextDrawnNumber(), 5u);
    stack.undo();
    EXPECT_EQ(model.NextDrawnNumber(), 4u) << "an undone insert frees its name";
    LayoutControl renamed = controls()[0];
    renamed.m_name = "UNBENANNT02";
    model.ChangeControl(nullptr, 0, renamed, QStringLiteral("x"), MERGE_NONE);
    EXPECT_EQ(model.NextDrawnNumber(), 2u) << "a renamed control frees its number";
    EXPECT_EQ(model.DrawnNames().Counts(), 1) << "counted once, then kept in step";
    std::vector<LayoutControl> many(5000, box("M", 0, 0, 1, 1));
    model.InsertControls(nullptr, {}, QStringLiteral("x"));
    IndexedControls added;
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].m_id = static_cast<std::uint32_t>(10 + i);
        added.emplace_back(2 + i, many[i]);
    }
    model.InsertControls(nullptr, std::move(added), QStringLiteral("x"));
    EXPECT_EQ(model.NextDrawnNumber(), 5010u) << "the count's id and the ones above are taken";
    EXPECT_EQ(model.DrawnNames().Counts(), 2) << "a big step has them counted afresh";
}
