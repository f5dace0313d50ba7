// Arranging: the arithmetic of snapping, align, distribute, same size, order and paste, and
// the same on the real canvas: guides, the grid, the bars, keys, clipboard and context menu.
#include "LayoutFile.h"
#include "SelectFixture.h"
#include "document/LayoutClipboard.h"
#include "geometry/Arrange.h"
#include "geometry/PasteRules.h"
#include "geometry/Snap.h"
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

std::vector<std::string> names(const std::vector<LayoutControl>& controls)
{
    std::vector<std::string> result;
    for (const LayoutControl& c : controls)
        result.push_back(c.m_name);
    return result;
}

const QRgb GUIDE = qRgb(0, 200, 220);

} // namespace

TEST(ArrangeArithmetic, SnappingFindsTheNearestLineWithinTheTolerance)
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

TEST(ArrangeArithmetic, AlignDistributeAndSameSize)
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

TEST(ArrangeArithmetic, OrderMovesTheSelectionAndKeepsItsOwnOrder)
{
    // A selection of two (B, D) in a list of five.
    using V = std::vector<std::size_t>;
    EXPECT_EQ(Reordered(5, {1, 3}, Order::Raise), (V{0, 2, 1, 4, 3}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::Lower), (V{1, 0, 3, 2, 4}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::ToTop), (V{0, 2, 4, 1, 3}));
    EXPECT_EQ(Reordered(5, {1, 3}, Order::ToBottom), (V{1, 3, 0, 2, 4}));
    EXPECT_EQ(Reordered(5, {3, 4}, Order::Raise), (V{0, 1, 2, 3, 4})) << "already on top";
}

TEST(ArrangeArithmetic, PastedNamesIdsAndPlaces)
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
        if (guideX >= 0 && guideX < 840) {
            EXPECT_EQ(during.pixel(guideX, 5), GUIDE) << "the guide runs across the canvas";
            EXPECT_NE(picture().pixel(guideX, 5), GUIDE) << "and is gone after the drag";
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

TEST(ArrangeArithmetic, PastesOfRectanglesThatCannotMoveEndAtOnce)
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

TEST(ArrangeArithmetic, AControlWithoutAFinitePlaceSpoilsNothing)
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
