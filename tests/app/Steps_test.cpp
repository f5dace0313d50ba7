// Every kind of change of a layout as a step: applied, undone bit for bit, redone.
#include "DocumentFixture.h"
#include "LayoutFile.h"
#include "commands/LayoutCommand.h"
#include "support/LayoutRecords.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>

using namespace testing_support;

namespace {

class StepsTest : public DocumentFixture
{
protected:
    // A document holding the given controls as loaded (no steps yet), the first one current.
    CKarveloDoc* documentWith(std::vector<LayoutControl> controls)
    {
        CKarveloDoc* doc = newDocument();
        for (LayoutControl& c : controls) {
            doc->m_newControl = c;
            doc->AddNewControl();
        }
        doc->UndoStack()->clear();
        doc->SetModifiedFlag(false);
        doc->SetCurrentControl(nullptr, controls.empty() ? -1 : 0);
        return doc;
    }

    // Applies change, then checks that undo gives back the records bit for bit with the same
    // current control, and that redo gives the changed ones again.
    void checkStep(CKarveloDoc* doc, const std::function<void()>& change)
    {
        const std::vector<LayoutControl> before = doc->m_layout.m_controls;
        const int currentBefore = doc->CurrentIndex();
        const int steps = doc->UndoStack()->index();
        change();
        ASSERT_EQ(doc->UndoStack()->index(), steps + 1) << "one step";
        ASSERT_EQ(doc->UndoStack()->count(), steps + 1);
        const std::vector<LayoutControl> after = doc->m_layout.m_controls;
        const int currentAfter = doc->CurrentIndex();
        EXPECT_TRUE(doc->IsModified());

        doc->UndoStack()->undo();
        EXPECT_TRUE(IdenticalRecords(doc->m_layout.m_controls, before));
        EXPECT_EQ(doc->CurrentIndex(), currentBefore);
        EXPECT_EQ(doc->m_currentControl,
                  currentBefore < 0 ? nullptr : &doc->m_layout.m_controls[currentBefore]);

        doc->UndoStack()->redo();
        EXPECT_TRUE(IdenticalRecords(doc->m_layout.m_controls, after));
        EXPECT_EQ(doc->CurrentIndex(), currentAfter);
    }
};

const float NAN_PAYLOAD = std::bit_cast<float>(0x7FC00123u);

} // namespace

TEST_F(StepsTest, EveryKindOfChangeUndoesAndRedoes)
{
    CKarveloDoc* doc = documentWith(
        {box("A", 1, 2, 3, 4), box("B", -0.0f, 5, 6, 7), box("C", NAN_PAYLOAD, 8, 9, 10)});
    checkStep(doc, [&] {
        LayoutControl changed = doc->m_layout.m_controls[1];
        changed.m_x1 = 0.0f; // -0 and 0 differ in their bits
        doc->ChangeControl(nullptr, 1, changed, QStringLiteral("X1 ändern"), MERGE_X1);
    });
    checkStep(doc, [&] {
        LayoutControl a = doc->m_layout.m_controls[0];
        LayoutControl c = doc->m_layout.m_controls[2];
        a.m_name = "MOVED";
        c.m_y2 = std::numeric_limits<float>::infinity();
        doc->ChangeControls(nullptr, {{0, a}, {2, c}}, QStringLiteral("Verschieben"), MERGE_MOVE);
    });
    checkStep(doc, [&] { doc->RemoveControls(nullptr, {1}, 0, QStringLiteral("Löschen")); });
    checkStep(doc, [&] {
        doc->InsertControls(nullptr, {{0, box("X", 1, 1, 2, 2)}, {2, box("Y", 3, 3, 4, 4)}},
                            QStringLiteral("Einfügen"));
    });
    ASSERT_EQ(doc->m_layout.m_controls.size(), 4u);
    EXPECT_EQ(doc->m_layout.m_controls[2].m_name, "Y");
    checkStep(doc, [&] {
        doc->ReorderControls(nullptr, {3, 0, 2, 1}, QStringLiteral("Reihenfolge"));
    });
    EXPECT_EQ(doc->m_layout.m_controls[0].m_name, "C");
    checkStep(doc, [&] { doc->RemoveControls(nullptr, {0, 3}, -1, QStringLiteral("Löschen")); });
    checkStep(doc, [&] {
        doc->ReplaceControls(nullptr, {box("NEW", 0, 0, 1, 1)}, QStringLiteral("Neu geladen"));
    });
    checkStep(doc, [&] {
        doc->m_newControl = box("UNBENANNT3", 5, 5, 50, 50);
        doc->AddNewControl();
    });
    ASSERT_EQ(doc->m_layout.m_controls.size(), 2u);
    EXPECT_EQ(doc->CurrentIndex(), 1) << "a drawn control is current";
}

TEST_F(StepsTest, StepsOnAnEmptyLayout)
{
    CKarveloDoc* doc = documentWith({});
    checkStep(doc, [&] {
        doc->m_newControl = box("UNBENANNT0", 1, 2, 3, 4);
        doc->AddNewControl();
    });
    doc->UndoStack()->undo();
    checkStep(doc, [&] {
        doc->ReplaceControls(nullptr, {box("A", 0, 0, 1, 1), box("B", 1, 1, 2, 2)},
                             QStringLiteral("Neu geladen"));
    });
    doc->UndoStack()->undo();
    const int steps = doc->UndoStack()->count();
    doc->ReorderControls(nullptr, {}, QStringLiteral("Reihenfolge"));
    doc->RemoveControls(nullptr, {}, -1, QStringLiteral("Löschen"));
    EXPECT_EQ(doc->UndoStack()->count(), steps) << "nothing to do is no step";
    // Indices that do not fit the list are refused, not followed.
    doc->RemoveControls(nullptr, {0}, -1, QStringLiteral("Löschen"));
    doc->InsertControls(nullptr, {{1, box("A", 0, 0, 1, 1)}}, QStringLiteral("Einfügen"));
    doc->ReorderControls(nullptr, {0}, QStringLiteral("Reihenfolge"));
    EXPECT_EQ(doc->UndoStack()->count(), steps);
    EXPECT_TRUE(doc->m_layout.m_controls.empty());
}

TEST_F(StepsTest, StepsOfOneGestureMergeAndAStepBackToTheStartIsDropped)
{
    CKarveloDoc* doc = documentWith({box("A", 1, 2, 3, 4), box("B", 5, 6, 7, 8)});
    auto setX1 = [&](std::size_t index, float x1) {
        LayoutControl c = doc->m_layout.m_controls[index];
        c.m_x1 = x1;
        doc->ChangeControl(nullptr, index, c, QStringLiteral("X1 ändern"), MERGE_X1);
    };
    setX1(0, 10);
    setX1(0, 100);
    EXPECT_EQ(doc->UndoStack()->count(), 1);
    setX1(0, 1);
    EXPECT_EQ(doc->UndoStack()->count(), 0) << "back where it began: no step";
    EXPECT_FALSE(doc->IsModified());

    setX1(0, 10);
    setX1(1, 10);
    EXPECT_EQ(doc->UndoStack()->count(), 2) << "another control is another step";
    doc->NewGesture();
    setX1(1, 20);
    EXPECT_EQ(doc->UndoStack()->count(), 3) << "another gesture is another step";
    LayoutControl b = doc->m_layout.m_controls[1];
    b.m_y1 = 60;
    doc->ChangeControl(nullptr, 1, b, QStringLiteral("Y1 ändern"), MERGE_Y1);
    ASSERT_EQ(doc->UndoStack()->count(), 4);
    doc->UndoStack()->undo();
    setX1(1, 30);
    EXPECT_EQ(doc->UndoStack()->count(), 4) << "after an undo nothing merges into the step before";
    EXPECT_EQ(doc->UndoStack()->index(), 4);

    ASSERT_TRUE(doc->DoSave(path("saved.lay")));
    setX1(1, 40);
    EXPECT_EQ(doc->UndoStack()->count(), 5) << "merging stops at a save";
    doc->UndoStack()->undo();
    EXPECT_FALSE(doc->IsModified()) << "back at the saved step";
    EXPECT_EQ(doc->m_layout.m_controls[1].m_x1, 30.0f);
    doc->UndoStack()->redo();
    EXPECT_TRUE(doc->IsModified());
}
