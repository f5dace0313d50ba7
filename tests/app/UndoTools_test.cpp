// Undo and redo of layout changes in the real editor, the Draw and Select tools, the tools bar
// and the history.
#include "LayoutFile.h"
#include "PanelFixture.h"
#include "commands/LayoutCommand.h"
#include "shell/MainFrame.h"
#include "shell/SearchField.h"

#include <QComboBox>
#include <QDockWidget>
#include <QPainter>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoView>

using namespace testing_support;

namespace {

class UndoToolsTest : public PanelTest
{
protected:
    QUndoStack* stack() { return doc()->UndoStack(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(editor.canvas(), key, modifiers);
        processEvents();
    }
    void activateCanvas()
    {
        QTest::mouseClick(editor.canvas(), Qt::RightButton, {}, QPoint(830, 630));
        editor.child()->SetActiveView(editor.canvas());
        processEvents();
    }
    bool selectTool()
    {
        return editor.app->Settings().CurrentTool() == CEditorSettings::SelectTool;
    }
};

} // namespace

TEST_F(UndoToolsTest, KeystrokesInAFieldAreOneStepAndRejectedOnesNone)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    ASSERT_EQ(stack()->count(), 1);
    EXPECT_EQ(stack()->text(0), QStringLiteral("Steuerelement zeichnen: UNBENANNT0"))
        << "a step names what it changed";

    replaceText(IDC_NAME, QStringLiteral("ok_btn"));
    ASSERT_EQ(controls()[0].m_name, "OK_BTN");
    ASSERT_EQ(stack()->count(), 2) << "typing a name is one step";
    EXPECT_EQ(stack()->text(1), QStringLiteral("Umbenennen: OK_BTN")) << "the name typed last";

    QTest::keyClick(edit(IDC_NAME), Qt::Key_Minus);
    QTest::keyClick(edit(IDC_NAME), Qt::Key_Backspace);
    EXPECT_EQ(editor.log.boxes.size(), 1u) << "the rejected name was reported";
    EXPECT_EQ(stack()->count(), 2) << "and made no step";

    edit(IDC_X1)->setFocus();
    edit(IDC_X1)->end(false);
    QTest::keyClick(edit(IDC_X1), Qt::Key_5);
    QTest::keyClick(edit(IDC_X1), Qt::Key_Backspace);
    EXPECT_EQ(stack()->count(), 2) << "a field typed back to its value makes no step";
    replaceText(IDC_X1, QStringLiteral("25"));
    ASSERT_EQ(stack()->count(), 3);
    EXPECT_EQ(stack()->text(2), QString::fromUtf8("X1 ändern: OK_BTN"));

    // The tools bar's Undo names the step, and undoes it with either pane active.
    editor.frame().UpdateCommandUI();
    QAction* undo = editor.frame().Action(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(undo->toolTip(), QString::fromUtf8("Rückgängig: X1 ändern: OK_BTN"));
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(controls()[0].m_x1, 10.0f);
    EXPECT_EQ(edit(IDC_X1)->text(), QStringLiteral("10")) << "the panel shows the undone value";
    editor.frame().UpdateCommandUI();
    EXPECT_EQ(editor.frame().Action(fw::ID_EDIT_REDO)->toolTip(),
              QString::fromUtf8("Wiederherstellen: X1 ändern: OK_BTN"));
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(controls()[0].m_name, "UNBENANNT0");
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_TRUE(controls().empty());
    EXPECT_FALSE(editor.enabled(resources::ID_LAYOUT_UNDO)) << "nothing left to undo";
    EXPECT_FALSE(doc()->IsModified());
    editor.frame().ExecuteCommand(fw::ID_EDIT_REDO);
    EXPECT_EQ(controls().size(), 1u);
    EXPECT_TRUE(doc()->IsModified());
}

TEST_F(UndoToolsTest, UndoToTheSavedStepClosesWithoutAQuestion)
{
    TempDir dir;
    drag(QPoint(30, 30), QPoint(80, 60));
    editor.log.files = {QString::fromStdString(dir.file("saved.lay"))};
    ASSERT_TRUE(doc()->DoFileSave());
    EXPECT_EQ(editor.child()->windowTitle(), QStringLiteral("saved.lay[*]"));
    EXPECT_FALSE(editor.child()->isWindowModified());
    replaceText(IDC_Y1, QStringLiteral("44"));
    EXPECT_TRUE(editor.child()->isWindowModified());
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_FALSE(editor.child()->isWindowModified()) << "back at the saved step";
    editor.log.boxes.clear();
    editor.child()->close();
    processEvents();
    EXPECT_TRUE(editor.log.boxes.empty()) << "closing asks nothing";
    EXPECT_TRUE(editor.app->Documents().empty());
}

TEST_F(UndoToolsTest, TheDrawToolKeepsTheEditCommandsOff)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    activateCanvas();
    ASSERT_EQ(editor.child()->GetActiveView(), editor.canvas());
    EXPECT_FALSE(selectTool()) << "the Draw tool at every start";
    for (fw::CommandId id :
         {fw::ID_EDIT_UNDO, fw::ID_EDIT_CUT, fw::ID_EDIT_COPY, fw::ID_EDIT_PASTE})
        EXPECT_FALSE(editor.enabled(id)) << id;
    QTest::keyClick(editor.canvas(), Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Delete);
    EXPECT_EQ(controls().size(), 1u) << "Ctrl+Z and Delete change nothing";
    EXPECT_TRUE(editor.enabled(resources::ID_LAYOUT_UNDO)) << "the tools bar's Undo does";
}

TEST_F(UndoToolsTest, TheSelectToolPicksDeletesAndUndoes)
{
    drag(QPoint(100, 100), QPoint(300, 300)); // 0: 80..280
    drag(QPoint(200, 200), QPoint(400, 400)); // 1: 180..380, on top
    drag(QPoint(500, 100), QPoint(600, 200)); // 2
    const LayoutControl topmost = controls()[1];
    activateCanvas();
    key(Qt::Key_S);
    ASSERT_TRUE(selectTool());
    editor.frame().UpdateCommandUI();
    EXPECT_TRUE(editor.frame().Action(resources::ID_TOOL_SELECT)->isChecked());

    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(250, 250));
    EXPECT_EQ(doc()->CurrentIndex(), 1) << "the topmost of the two under the point";
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT1")) << "the panel follows";
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(100, 150));
    EXPECT_EQ(doc()->CurrentIndex(), 0) << "an edge counts as inside";
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(700, 500));
    EXPECT_EQ(doc()->CurrentIndex(), -1) << "empty canvas clears the selection";
    EXPECT_FALSE(edit(IDC_X1)->isEnabled()) << "the panel shows no control";
    EXPECT_EQ(controls().size(), 3u) << "the Select tool draws nothing";

    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(250, 250));
    key(Qt::Key_Delete);
    ASSERT_EQ(controls().size(), 2u);
    EXPECT_EQ(controls()[1].m_name, "UNBENANNT2");
    EXPECT_EQ(doc()->CurrentIndex(), 1) << "the control that followed becomes current";
    EXPECT_EQ(stack()->undoText(), QString::fromUtf8("Löschen: UNBENANNT1"));

    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_UNDO)) << "the Edit menu's Undo undoes the layout";
    QTest::keyClick(editor.canvas(), Qt::Key_Z, Qt::ControlModifier);
    processEvents();
    ASSERT_EQ(controls().size(), 3u);
    EXPECT_TRUE(IdenticalRecords(controls()[1], topmost)) << "back at its index, bit for bit";
    EXPECT_EQ(doc()->CurrentIndex(), 1);
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT1"));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(controls().size(), 2u);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(controls().size(), 2u) << "nothing left to redo";
    key(Qt::Key_Backspace);
    EXPECT_EQ(controls().size(), 1u);

    key(Qt::Key_R);
    EXPECT_FALSE(selectTool());
    for (fw::CommandId id : {fw::ID_EDIT_UNDO, fw::ID_EDIT_CUT})
        EXPECT_FALSE(editor.enabled(id)) << id;
}

TEST_F(UndoToolsTest, TheDrawToolTakesOverOneCurrentControlWhateverTheSelectToolLeft)
{
    editor.canvas()->resize(840, 640);
    drag(QPoint(100, 100), QPoint(300, 300));
    drag(QPoint(200, 200), QPoint(400, 400));
    drag(QPoint(500, 100), QPoint(600, 200));
    activateCanvas();
    // The Select tool leaves nothing current...
    key(Qt::Key_S);
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(700, 500));
    ASSERT_EQ(doc()->CurrentIndex(), -1);
    key(Qt::Key_R);
    EXPECT_EQ(doc()->CurrentIndex(), 0) << "the first control, when none was current";
    EXPECT_EQ(doc()->Selection().selected, std::vector<std::size_t>{0});
    EXPECT_TRUE(edit(IDC_X1)->isEnabled()) << "the panel shows it";
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_TRUE(deleteButton()->isEnabled());
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT0"));

    // ...or everything selected.
    key(Qt::Key_S);
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(550, 150));
    key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(doc()->Selection().selected.size(), 3u);
    key(Qt::Key_R);
    EXPECT_EQ(doc()->CurrentIndex(), 2) << "the current control stays current";
    EXPECT_EQ(doc()->Selection().selected, std::vector<std::size_t>{2});
    const QImage canvas = editor.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage printed(canvas.size(), QImage::Format_RGB32);
    printed.fill(editor.canvas()->palette().color(QPalette::Base));
    QPainter painter(&printed);
    editor.canvas()->OnDraw(painter);
    painter.end();
    EXPECT_EQ(canvas, printed) << "one bright control on the canvas, as on paper";
    EXPECT_EQ(canvas.pixel(100, 150), qRgb(64, 0, 0)) << "the others are dark";

    // A step made while nothing was current, undone in the Draw tool.
    key(Qt::Key_S);
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(700, 500));
    LayoutControl moved = controls()[1];
    moved.m_x1 += 5;
    doc()->Model().ChangeControl(nullptr, 1, moved, QStringLiteral("x"), MERGE_NONE);
    key(Qt::Key_R);
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(doc()->CurrentIndex(), 0);
    EXPECT_TRUE(edit(IDC_X1)->isEnabled());
}

TEST_F(UndoToolsTest, TheListKeepsItsRowOnCtrlClickAndFollowsTheCanvas)
{
    drag(QPoint(100, 100), QPoint(300, 300));
    drag(QPoint(200, 200), QPoint(400, 400));
    drag(QPoint(500, 100), QPoint(600, 200));
    select(1);
    const QRect row = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
    EXPECT_EQ(list()->SelectedRow(), 1) << "a list of one selected row keeps it";
    deleteButton()->click();
    EXPECT_EQ(controls().size(), 2u) << "and Delete deletes it";

    // A pick on the canvas marks the row without selecting it; Delete still needs a pick.
    activateCanvas();
    key(Qt::Key_S);
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(list()->MarkedRow(), 0);
    EXPECT_EQ(list()->SelectedRow(), -1);
    const QFont font = list()->model()->index(0, 0).data(Qt::FontRole).value<QFont>();
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(list()->model()->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(list()->MarkedRow(), 1) << "the control the undo brings back is current";
    EXPECT_EQ(list()->SelectedRow(), -1);

    // In a long list the row comes into sight.
    std::vector<LayoutControl> many(2000, controls()[0]);
    doc()->Model().ReplaceControls(nullptr, std::move(many), QStringLiteral("x"));
    doc()->Model().SetCurrent(nullptr, 1500);
    processEvents();
    const QRect shown = list()->visualRect(list()->model()->index(1500, 0));
    EXPECT_TRUE(list()->viewport()->rect().contains(shown.center()));
}

TEST_F(UndoToolsTest, TwoWindowsShowTheSameStateAfterAnUndoInEither)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    CKarveloView_Controls* firstPanel = editor.panel();
    CKarveloView* firstCanvas = editor.canvas();
    editor.frame().ExecuteCommand(fw::ID_WINDOW_NEW);
    CKarveloView_Controls* secondPanel = editor.panel();
    CKarveloView* secondCanvas = editor.canvas();
    ASSERT_NE(firstPanel, secondPanel);

    auto field = [](CKarveloView_Controls* panel, int id) {
        return panel->findChild<QLineEdit*>(QString::number(id))->text();
    };
    auto same = [&] {
        const QImage a = firstCanvas->grab().toImage();
        const QImage b = secondCanvas->grab().toImage();
        return field(firstPanel, IDC_X1) == field(secondPanel, IDC_X1) &&
               field(firstPanel, IDC_NAME) == field(secondPanel, IDC_NAME) &&
               firstPanel->m_listControls->count() == secondPanel->m_listControls->count() &&
               a.copy(0, 0, 840, 640) == b.copy(0, 0, 840, 640);
    };
    firstCanvas->resize(840, 640);
    secondCanvas->resize(840, 640);

    // A change in the first window, its undo through the second.
    replaceText(IDC_X1, QStringLiteral("200"));
    QLineEdit* firstX1 = firstPanel->findChild<QLineEdit*>(QString::number(IDC_X1));
    firstX1->setFocus();
    firstX1->selectAll();
    QTest::keyClicks(firstX1, QStringLiteral("300"));
    ASSERT_EQ(controls()[0].m_x1, 300.0f);
    EXPECT_EQ(field(secondPanel, IDC_X1), QStringLiteral("300"));
    editor.frame().MdiArea()->setActiveSubWindow(doc()->GetFrames()[1]);
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(field(firstPanel, IDC_X1), field(secondPanel, IDC_X1));
    EXPECT_TRUE(same());

    // A control drawn in the second window, undone in the first.
    QTest::mousePress(secondCanvas, Qt::LeftButton, {}, QPoint(400, 300));
    QTest::mouseRelease(secondCanvas, Qt::LeftButton, {}, QPoint(500, 400));
    EXPECT_EQ(firstPanel->m_listControls->count(), 2);
    EXPECT_TRUE(same());
    editor.frame().MdiArea()->setActiveSubWindow(doc()->GetFrames()[0]);
    editor.frame().ExecuteCommand(resources::ID_LAYOUT_UNDO);
    EXPECT_EQ(secondPanel->m_listControls->count(), 1);
    EXPECT_TRUE(same());
}

TEST_F(UndoToolsTest, TheToolsBarAndTheHistory)
{
    auto& frame = static_cast<CMainFrame&>(editor.frame());
    QToolBar* tools = frame.ToolsBar();
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->windowTitle(), QStringLiteral("Werkzeuge"));
    EXPECT_EQ(frame.toolBarArea(tools), Qt::TopToolBarArea);
    EXPECT_GT(tools->geometry().left(), frame.ToolBar()->geometry().left()) << "right of 1128";
    QStringList buttons;
    for (QAction* action : tools->actions())
        buttons << (action->isSeparator() ? QStringLiteral("0")
                    : tools->widgetForAction(action) == static_cast<QWidget*>(frame.ZoomBox())
                        ? QStringLiteral("zoom")
                    : tools->widgetForAction(action) == static_cast<QWidget*>(frame.Search())
                        ? QStringLiteral("search")
                        : QString::number(action->data().toUInt()));
    EXPECT_EQ(buttons.join(QLatin1Char(' ')),
              QStringLiteral("32771 32772 0 32773 57644 0 32774 33100 0 zoom 0 search"));
    EXPECT_EQ(frame.Action(resources::ID_TOOL_SELECT)->toolTip(),
              QString::fromUtf8("Auswählen (S)"));
    EXPECT_EQ(frame.Action(fw::ID_EDIT_REDO)->statusTip(),
              QStringLiteral("Wiederholt die vorher ruckgangig gemachte Aktion."));

    QDockWidget* history = frame.History();
    EXPECT_EQ(history->windowTitle(), QStringLiteral("Verlauf"));
    EXPECT_TRUE(history->isHidden()) << "hidden at start";
    frame.ExecuteCommand(resources::ID_VIEW_HISTORY);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(frame.UndoGroup()->activeStack(), doc()->UndoStack());

    drag(QPoint(30, 30), QPoint(80, 60));
    drag(QPoint(130, 30), QPoint(180, 60));
    auto* view = history->findChild<QUndoView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->rowCount(), 3) << "the start and two steps";
    view->setCurrentIndex(view->model()->index(0, 0));
    EXPECT_TRUE(controls().empty()) << "a click on a row jumps to that step";

    CKarveloDoc* first = doc();
    editor.app->OnFileNew();
    EXPECT_EQ(frame.UndoGroup()->activeStack(), doc()->UndoStack()) << "the history follows";
    EXPECT_NE(doc(), first);
}
