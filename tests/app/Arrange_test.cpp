// Arranging on the real canvas: guides, the grid, the bars, keys, clipboard and context menu.
// The arithmetic on its own is tested with the editing core.
#include "LayoutFile.h"
#include "SelectFixture.h"
#include "document/LayoutClipboard.h"
#include "geometry/Arrange.h"
#include "shell/MainFrame.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>

using namespace testing_support;

namespace {

IndexedControls indexed(std::vector<LayoutControl> controls)
{
    IndexedControls result;
    for (std::size_t i = 0; i < controls.size(); ++i)
        result.emplace_back(i, controls[i]);
    return result;
}

const QRgb GUIDE = qRgb(0, 200, 220);

} // namespace

namespace {

class ArrangeTest : public SelectToolTest
{
protected:
    void run(fw::CommandId id)
    {
        editor.frame().UpdateCommandUI();
        editor.frame().ExecuteCommand(id);
    }
    // Applies a command and checks it is one step that undoes bit for bit.
    std::vector<LayoutControl> oneStep(fw::CommandId id)
    {
        const std::vector<LayoutControl> before = controls();
        const int index = doc()->UndoStack()->index();
        run(id);
        EXPECT_EQ(doc()->UndoStack()->index(), index + 1) << id;
        EXPECT_EQ(steps(), index + 1) << id;
        const std::vector<LayoutControl> after = controls();
        editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
        EXPECT_TRUE(IdenticalRecords(before, controls())) << id;
        editor.frame().ExecuteCommand(fw::ID_EDIT_REDO);
        return after;
    }
};

} // namespace

TEST_F(ArrangeTest, MovesSnapToEdgesWithAGuideAndAltTurnsItOff)
{
    layout({box("TARGET", 100, 300, 200, 350), box("MOVE", 300.5f, 100, 350.5f, 150)});
    for (double zoom : {1.0, 4.0}) {
        editor.canvas()->SetZoom(zoom, QPointF(0, 0));
        const CanvasMapping& m = editor.canvas()->Mapping();
        const QPoint grab(m.X(320), m.Y(120));
        // 5 screen pixels short of the target's left edge: it snaps, exactly.
        const int short5 = static_cast<int>(std::lround((100 - 300.5) * zoom)) + 5;
        dragTo(grab, grab + QPoint(short5, 0), 4, Qt::NoModifier, false);
        const QImage during = picture();
        send(QEvent::MouseButtonRelease, grab + QPoint(short5, 0), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(controls()[1].m_x1, 100.0f) << zoom;
        EXPECT_EQ(controls()[1].m_x2, 150.0f) << zoom;
        const int guideX = m.X(100);
        const int screenMiddle = m.Y(300);
        if (guideX >= 0 && guideX < 840 && screenMiddle < 640) {
            EXPECT_EQ(during.pixel(guideX, screenMiddle), GUIDE)
                << "the guide runs across the screen";
            EXPECT_NE(during.pixel(guideX, m.Y(0) - 2), GUIDE) << "not across the margin";
            EXPECT_NE(picture().pixel(guideX, screenMiddle), GUIDE) << "and is gone after the drag";
        }
        editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
        ASSERT_EQ(controls()[1].m_x1, 300.5f);
    }
    editor.canvas()->ResetView();
    const QPoint grab = at(320, 120);
    dragTo(grab, grab + QPoint(-200 - 7, 0));
    EXPECT_EQ(controls()[1].m_x1, 93.5f) << "7 pixels away: no snap";
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    dragTo(grab, grab + QPoint(-200 - 5, 0), 4, Qt::AltModifier);
    EXPECT_EQ(controls()[1].m_x1, 95.5f) << "Alt: no snap";
}

TEST_F(ArrangeTest, WholeControlsStayWholeWhateverArrangesThem)
{
    // The target's middle lies at 325.5; the moved control's middle comes within half a pixel
    // of it, nearer than any other line.
    layout({box("TARGET", 100, 300, 200, 351), box("MOVE", 300, 100, 350, 140)});
    dragTo(at(320, 120), at(320, 120) + QPoint(0, 205));
    EXPECT_EQ(controls()[1].m_y1, 306.0f) << "snapped to the middle, to the next whole pixel";
    EXPECT_EQ(controls()[1].m_y2, 346.0f);
    EXPECT_EQ(edit(IDC_Y1)->text(), QStringLiteral("306"));

    const auto whole = [](const IndexedControls& controls) {
        for (const auto& [index, c] : controls)
            for (float v : {c.m_x1, c.m_y1, c.m_x2, c.m_y2})
                if (v != std::trunc(v))
                    return false;
        return true;
    };
    const IndexedControls odd = indexed({box("A", 0, 0, 51, 21), box("B", 100, 40, 140, 80),
                                         box("C", 300, 3, 333, 10), box("D", 411, 0, 420, 7)});
    EXPECT_TRUE(whole(Aligned(odd, Alignment::HorizontalCentre, AlignmentBox(odd))));
    EXPECT_TRUE(whole(Aligned(odd, Alignment::VerticalCentre, AlignmentBox(odd))));
    EXPECT_TRUE(whole(Distributed(odd, true)));
    EXPECT_TRUE(whole(Distributed(odd, false)));
    EXPECT_TRUE(whole(Resized(odd, BOTTOM | RIGHT, 13, 7, false)));
    EXPECT_TRUE(whole(Resized(odd, TOP | LEFT, 5, 3, true)));
    const IndexedControls centred = Aligned(odd, Alignment::VerticalCentre, AlignmentBox(odd));
    EXPECT_LE(std::abs((centred[0].second.m_y1 + centred[0].second.m_y2) / 2 - 40.0f), 0.5f)
        << "within half a pixel of the box's middle";
    // Fractions are not rounded away: they still meet exactly.
    const IndexedControls fractional =
        indexed({box("A", 0, 0.5f, 10, 20), box("B", 0, 40, 10, 81)});
    const IndexedControls met =
        Aligned(fractional, Alignment::VerticalCentre, AlignmentBox(fractional));
    EXPECT_EQ(met[0].second.m_y1 + met[0].second.m_y2, met[1].second.m_y1 + met[1].second.m_y2);
}

TEST_F(ArrangeTest, AResizeSnapsOnlyTheEdgeItMovesAndTheGridWhenOn)
{
    layout({box("TARGET", 100, 300, 200, 350), box("SIZE", 20.5f, 100.25f, 96, 150)});
    click(at(50, 120));
    // The right handle, dragged about and let go 2 pixels short of the target's left edge.
    send(QEvent::MouseButtonPress, at(95, 125), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, at(130, 125), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, at(97, 125), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(97, 125), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(controls()[1].m_x2, 100.0f) << "the moved edge snaps";
    EXPECT_EQ(controls()[1].m_x1, 20.5f) << "the other stays off any line";
    EXPECT_EQ(controls()[1].m_y1, 100.25f);

    // The grid: off by default and not drawn; on, it is drawn and snapped to.
    auto& frame = static_cast<CMainFrame&>(editor.frame());
    EXPECT_FALSE(editor.app->Settings().GridOn());
    const QImage without = picture();
    EXPECT_EQ(without.pixel(20 + 8 * 30, 20 + 8 * 40), qRgb(255, 255, 255));
    key(Qt::Key_G);
    EXPECT_TRUE(editor.app->Settings().GridOn());
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.Action(resources::ID_VIEW_GRID)->isChecked());
    EXPECT_EQ(picture().pixel(20 + 8 * 30, 20 + 8 * 40), qRgb(200, 200, 215)) << "a grid dot";
    layout({box("ALONE", 201, 201, 249, 249)});
    dragTo(at(220, 220), at(220 + 12, 220 + 13));
    EXPECT_EQ(controls()[0].m_x1, 216.0f) << "its nearest edge on a multiple of 8";
    EXPECT_EQ(controls()[0].m_y1, 216.0f);
    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    EXPECT_EQ(picture().pixel(20 + 8 * 30, 20 + 8 * 40), qRgb(255, 255, 255))
        << "the Draw tool keeps the plain picture";
}

TEST_F(ArrangeTest, EachArrangingCommandIsOneStep)
{
    layout({box("A", 10, 10, 50, 30), box("B", 200, 40, 120, 100), box("C", 60, 150, 100, 170),
            box("D", 400, 10, 450, 20)});
    click(at(30, 20));
    click(at(150, 70), Qt::ShiftModifier);
    EXPECT_FALSE(editor.enabled(resources::ID_DISTRIBUTE_H)) << "not before three";
    click(at(80, 160), Qt::ShiftModifier);
    ASSERT_EQ(selected().size(), 3u);
    for (fw::CommandId id :
         {resources::ID_ALIGN_LEFT, resources::ID_ALIGN_HCENTRE, resources::ID_ALIGN_RIGHT,
          resources::ID_ALIGN_TOP, resources::ID_ALIGN_VCENTRE, resources::ID_ALIGN_BOTTOM,
          resources::ID_DISTRIBUTE_H, resources::ID_DISTRIBUTE_V, resources::ID_SAME_WIDTH,
          resources::ID_SAME_HEIGHT, resources::ID_SAME_SIZE}) {
        EXPECT_TRUE(editor.enabled(id)) << id;
        oneStep(id);
        editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    }
    const auto left = oneStep(resources::ID_ALIGN_LEFT);
    EXPECT_EQ(left[1].m_x2, 10.0f) << "B by its visual left";
    EXPECT_EQ(left[3].m_x1, 400.0f) << "D is not selected";

    // The keys of the order, with the panel's list following.
    key(Qt::Key_Home);
    EXPECT_EQ(names(controls()), (std::vector<std::string>{"D", "A", "B", "C"}));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("D"), QStringLiteral("A"), QStringLiteral("B"),
                                   QStringLiteral("C")}));
    key(Qt::Key_End);
    EXPECT_EQ(names(controls()), (std::vector<std::string>{"A", "B", "C", "D"}));
    key(Qt::Key_PageDown);
    EXPECT_EQ(names(controls()), (std::vector<std::string>{"A", "B", "C", "D"}))
        << "at the bottom already";
    click(at(420, 15));
    key(Qt::Key_PageDown);
    EXPECT_EQ(names(controls()), (std::vector<std::string>{"A", "B", "D", "C"}));
    key(Qt::Key_PageUp);
    EXPECT_EQ(doc()->UndoStack()->undoText(), QString::fromUtf8("Reihenfolge ändern: D"));
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(names(controls()), (std::vector<std::string>{"A", "B", "D", "C"}));
    EXPECT_EQ(selected(), (std::vector<std::size_t>{2})) << "the selection went back with it";
}

TEST_F(ArrangeTest, TheClipboardCarriesControlsAsText)
{
    layout({box("BTN", 10, 10, 50, 30), box("OK", 60, 10, 100, 30)});
    controls();
    key(Qt::Key_A, Qt::ControlModifier);
    run(fw::ID_EDIT_COPY);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(CONTROLS_MIME_TYPE)));
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.contains(QStringLiteral("\"name\": \"BTN\""))) << text.toStdString();
    const std::vector<LayoutControl> copied = controls();

    // Into another document: the same records.
    editor.app->OnFileNew();
    editor.canvas()->setFocus();
    processEvents();
    run(fw::ID_EDIT_PASTE);
    ASSERT_EQ(controls().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(IdenticalRecords(controls()[i], copied[i])) << i;
    EXPECT_EQ(doc()->UndoStack()->undoText(), QString::fromUtf8("Einfügen: 2 Steuerelemente"));
    EXPECT_EQ(selected(), (std::vector<std::size_t>{0, 1}));

    // Into the same one: new names and ids, moved off the originals.
    run(fw::ID_EDIT_PASTE);
    ASSERT_EQ(controls().size(), 4u);
    EXPECT_EQ(controls()[2].m_name, "BTN_2");
    EXPECT_EQ(controls()[3].m_name, "OK_2");
    EXPECT_EQ(controls()[2].m_x1, 20.0f);
    EXPECT_EQ(controls()[2].m_y1, 20.0f);

    // The text itself, edited in between, comes back.
    QGuiApplication::clipboard()->setText(
        text.toStdString().empty()
            ? QString()
            : QString(text).replace(QStringLiteral("BTN"), QStringLiteral("EDITED")));
    run(fw::ID_EDIT_PASTE);
    ASSERT_EQ(controls().size(), 6u);
    EXPECT_EQ(controls()[4].m_name, "EDITED");

    // What is no layout is refused with a reason, and nothing changes.
    for (const char* junk :
         {"{\"controls\": [ {\"name\": \"X\"", "hello", "{\"controls\": [{\"name\": \"9X\"}]}"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(junk));
        editor.log.boxes.clear();
        run(fw::ID_EDIT_PASTE);
        ASSERT_EQ(editor.log.boxes.size(), 1u) << junk;
        EXPECT_EQ(editor.log.boxes[0].icon, fw::MB_ICONWARNING);
        EXPECT_EQ(controls().size(), 6u) << junk;
    }
}

TEST_F(ArrangeTest, DuplicateAndCut)
{
    layout({box("BTN", 10, 10, 50, 30), box("KEEP", 100, 10, 150, 30)});
    click(at(20, 20));
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(names(controls()),
              (std::vector<std::string>{"BTN", "KEEP", "BTN_2", "BTN_3", "BTN_4"}));
    EXPECT_EQ(controls()[4].m_x1, 40.0f);
    EXPECT_EQ(doc()->UndoStack()->undoText(), QStringLiteral("Duplizieren: BTN_4"));

    const std::vector<LayoutControl> before = controls();
    click(at(20, 20));
    click(at(30, 30), Qt::ShiftModifier);
    ASSERT_EQ(selected().size(), 2u);
    run(fw::ID_EDIT_CUT);
    EXPECT_EQ(controls().size(), 3u);
    EXPECT_EQ(doc()->UndoStack()->undoText(), QStringLiteral("Ausschneiden: 2 Steuerelemente"));
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    ASSERT_EQ(controls().size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(IdenticalRecords(controls()[i], before[i])) << i;
}

TEST_F(ArrangeTest, TheContextMenuOnlyInTheSelectTool)
{
    layout({box("A", 10, 10, 50, 30)});
    QStringList items;
    QStringList enabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            items << action->text();
            if (action->isEnabled())
                enabled << action->text();
        }
        menu->close();
    });
    QTest::mouseClick(canvas(), Qt::RightButton, {}, at(20, 20));
    ASSERT_EQ(items.size(), 13);
    EXPECT_EQ(items[0], QString::fromUtf8("&Шаг назад\tStrg+Z"));
    EXPECT_EQ(items[5], QString::fromUtf8("&Дублировать\tStrg+D"));
    EXPECT_EQ(items.last(), QString::fromUtf8("Пор&ядок"));
    EXPECT_EQ(selected(), (std::vector<std::size_t>{0})) << "the right click picked A";
    EXPECT_TRUE(enabled.contains(QString::fromUtf8("&Копировать\tStrg+C")));
    EXPECT_FALSE(enabled.contains(QString::fromUtf8("&Шаг назад\tStrg+Z"))) << "nothing to undo";

    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activePopupWidget() != nullptr;
        if (shown)
            QApplication::activePopupWidget()->close();
    });
    QTest::mouseClick(canvas(), Qt::RightButton, {}, at(20, 20));
    processEvents();
    EXPECT_FALSE(shown) << "the right button does nothing in the Draw tool";

    auto& frame = static_cast<CMainFrame&>(editor.frame());
    ASSERT_NE(frame.ArrangeBar(), nullptr);
    EXPECT_EQ(frame.ArrangeBar()->windowTitle(), QStringLiteral("Anordnen"));
    EXPECT_EQ(frame.Action(resources::ID_ALIGN_LEFT)->toolTip(),
              QStringLiteral("Links ausrichten"));
}
