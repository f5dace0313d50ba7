// Editing without a mouse in the real editor: Tab, Insert, Ctrl+arrows, the context menu from
// the keyboard, F6 round the window, and a key or a menu item for every command of the bars.
#include "SelectFixture.h"
#include "shell/MainFrame.h"

#include <QDockWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <set>

using namespace testing_support;

namespace {

const QRgb BRIGHT = qRgb(255, 0, 0);

class KeyboardTest : public SelectToolTest
{
protected:
    CMainFrame& frame() { return static_cast<CMainFrame&>(editor.frame()); }
    // Through the application, as a real key comes: shortcuts first, then the focus widget.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : canvas();
        QTest::keyClick(to, key, modifiers);
        processEvents();
    }
    QWidget* focus() { return QApplication::focusWidget(); }
    // Runs open on the popup menu the next event loop shows, then closes it; false when no
    // menu came.
    bool withMenu(const std::function<void()>& show, const std::function<void(QMenu*)>& open)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = true;
            open(menu);
            menu->close();
        });
        show();
        processEvents();
        // The offscreen platform leaves no window active once a popup closed.
        QApplication::setActiveWindow(&editor.frame());
        canvas()->setFocus();
        processEvents();
        return shown;
    }
    const LayoutControl& last() { return controls().back(); }
};

// The command ids of a menu and its submenus.
void commandsOf(const QMenu* menu, std::set<unsigned>& ids)
{
    for (const QAction* action : menu->actions()) {
        if (action->menu())
            commandsOf(action->menu(), ids);
        else if (!action->isSeparator())
            ids.insert(action->data().toUInt());
    }
}

// Items of one menu without an access key, or with one another item has too.
QStringList badAccessKeys(const QMenu* menu)
{
    QStringList bad;
    std::set<int> keys;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (key.isEmpty() || !keys.insert(key[0].toCombined()).second)
            bad << action->text();
        if (action->menu())
            bad << badAccessKeys(action->menu());
    }
    return bad;
}

} // namespace

TEST_F(KeyboardTest, TabWalksTheListAloneAndBringsEachControlIntoView)
{
    layout({box("A", 10, 10, 50, 30), box("B", 100, 40, 160, 70), box("FAR", 700, 500, 760, 560)});
    for (std::size_t expected : {0, 1, 2, 0}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(selected(), std::vector<std::size_t>{expected}) << "round the end to the first";
    }
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(selected(), std::vector<std::size_t>{2}) << "Shift+Tab back past the first";
    EXPECT_EQ(focus(), canvas()) << "Tab picks controls; the focus stays";
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("FAR")) << "the panel shows the control";
    EXPECT_EQ(steps(), 0);

    // A small pane: the control picked comes into view, and the one before it again.
    canvas()->resize(300, 200);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(doc()->CurrentIndex(), 2);
    const CanvasMapping& mapping = editor.canvas()->Mapping();
    const int left = mapping.X(700), right = mapping.X(760), top = mapping.Y(500);
    EXPECT_GE(left, 0);
    EXPECT_LE(right, 300);
    EXPECT_LE(mapping.Y(560), 200);
    EXPECT_EQ(picture().pixel(left, top + 10), BRIGHT) << "its outline shows in the pane";
    press(Qt::Key_Tab);
    EXPECT_GE(mapping.X(10), 0);
    EXPECT_GE(mapping.Y(10), 0);
    EXPECT_EQ(picture().pixel(mapping.X(10) + 10, mapping.Y(10)), BRIGHT);

    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    canvas()->setFocus();
    press(Qt::Key_Tab);
    EXPECT_NE(focus(), canvas()) << "in the Draw tool Tab moves the focus on, as it always did";
}

TEST_F(KeyboardTest, InsertMakesANamedControlBelowTheCurrentOne)
{
    layout({});
    press(Qt::Key_Insert);
    ASSERT_EQ(controls().size(), 1u);
    EXPECT_EQ(last().m_name, "UNBENANNT0");
    EXPECT_EQ(last().m_x1, 10.0f);
    EXPECT_EQ(last().m_y1, 10.0f);
    EXPECT_EQ(last().m_x2, 110.0f);
    EXPECT_EQ(last().m_y2, 40.0f);
    EXPECT_EQ(selected(), std::vector<std::size_t>{0});
    EXPECT_EQ(doc()->CurrentIndex(), 0);
    EXPECT_EQ(doc()->UndoStack()->undoText(),
              QString::fromUtf8("Steuerelement einfügen: UNBENANNT0"));
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT0"));
    const QImage shown = picture();
    EXPECT_EQ(shown.pixel(50, 30), BRIGHT) << "outlined as the current control";
    EXPECT_EQ(shown.pixel(30, 37), BRIGHT);
    EXPECT_EQ(shown.pixel(100, 59), BRIGHT);

    press(Qt::Key_Insert);
    ASSERT_EQ(controls().size(), 2u);
    EXPECT_EQ(last().m_name, "UNBENANNT1");
    EXPECT_EQ(last().m_y1, 50.0f) << "10 below the control before";
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(controls().size(), 1u) << "one step, undone by Ctrl+Z";

    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    canvas()->setFocus();
    press(Qt::Key_Insert);
    EXPECT_EQ(controls().size(), 1u) << "the Draw tool stays as it was";
}

TEST_F(KeyboardTest, CtrlArrowsMoveTheRightOrBottomEdgeAndAHeldKeyIsOneStep)
{
    layout({box("A", 10, 10, 50, 30), box("B", 100, 100, 120, 120)});
    press(Qt::Key_Tab);
    press(Qt::Key_Right, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(controls()[0].m_x2, 51.0f);
    EXPECT_EQ(controls()[0].m_y2, 40.0f);
    EXPECT_EQ(controls()[0].m_x1, 10.0f) << "the left and top edges stay";
    EXPECT_EQ(controls()[0].m_y1, 10.0f);
    EXPECT_EQ(doc()->UndoStack()->undoText(), QString::fromUtf8("Größe ändern: A"));
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier, true);
    key(Qt::Key_Left, Qt::ControlModifier, true);
    EXPECT_EQ(controls()[0].m_x2, 48.0f);
    EXPECT_EQ(steps(), 3) << "a key held down is one step";
    EXPECT_EQ(controls()[1].m_x2, 120.0f);
    press(Qt::Key_Right);
    EXPECT_EQ(controls()[0].m_x1, 11.0f) << "without Ctrl the arrows still move";
}

TEST_F(KeyboardTest, MenuKeyAndShiftF10OpenTheMenuAtTheSelectionWithAccessKeys)
{
    layout({box("A", 10, 10, 60, 30), box("B", 100, 100, 120, 120)});
    press(Qt::Key_Tab);
    QPoint at;
    QStringList bad;
    std::set<unsigned> ids;
    ASSERT_TRUE(withMenu([&] { press(Qt::Key_Menu); },
                         [&](QMenu* menu) {
                             at = menu->pos();
                             bad = badAccessKeys(menu);
                             commandsOf(menu, ids);
                         }));
    EXPECT_EQ(at, canvas()->mapToGlobal(QPoint(30, 50))) << "at the selection's bottom left";
    EXPECT_TRUE(bad.isEmpty()) << bad.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(ids.count(ID_ALIGN_LEFT) && ids.count(ID_ORDER_TO_TOP));

    // Nothing selected: the screen's corner, here below a small pane's edge, so within it.
    key(Qt::Key_Escape);
    ASSERT_TRUE(selected().empty());
    canvas()->resize(300, 200);
    EXPECT_TRUE(withMenu([&] { press(Qt::Key_F10, Qt::ShiftModifier); },
                         [&](QMenu* menu) { at = menu->pos(); }));
    EXPECT_EQ(at, canvas()->mapToGlobal(QPoint(20, 199)));

    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    canvas()->setFocus();
    EXPECT_FALSE(withMenu([&] { press(Qt::Key_Menu); }, [](QMenu*) {}))
        << "no menu in the Draw tool";
}

TEST_F(KeyboardTest, F6ReachesCanvasFieldsAndListAndEscReturnsToTheCanvas)
{
    layout({box("A", 10, 10, 60, 30), box("B", 100, 100, 120, 120)});
    press(Qt::Key_Tab);
    press(Qt::Key_F6);
    EXPECT_EQ(focus(), edit(IDC_NAME)) << "the first field";
    EXPECT_EQ(editor.child()->GetActiveView(), editor.panel());
    press(Qt::Key_F6);
    EXPECT_EQ(focus(), canvas()) << "twice: back in the pane it started in";
    EXPECT_EQ(editor.child()->GetActiveView(), editor.canvas());
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(focus(), list()) << "Shift+F6 into the panel: the list";
    EXPECT_EQ(editor.child()->GetActiveView(), editor.panel());
    press(Qt::Key_F6);
    EXPECT_EQ(focus(), canvas()) << "out of the list";
    press(Qt::Key_F6, Qt::ShiftModifier);
    press(Qt::Key_Escape);
    EXPECT_EQ(focus(), canvas()) << "Esc in the list";

    edit(IDC_X1)->setFocus();
    press(Qt::Key_Escape);
    EXPECT_EQ(focus(), canvas()) << "Esc in a field";
    EXPECT_EQ(editor.child()->GetActiveView(), editor.canvas());
    EXPECT_EQ(selected(), std::vector<std::size_t>{0}) << "and nothing else";
    press(Qt::Key_F6);
    EXPECT_EQ(focus(), edit(IDC_NAME)) << "always the first field";
    EXPECT_EQ(edit(IDC_NAME)->selectedText(), QStringLiteral("A")) << "ready to be typed over";

    // Nothing current: no field or list takes the focus, the panel does, as a pane.
    press(Qt::Key_Escape);
    key(Qt::Key_Escape);
    ASSERT_FALSE(edit(IDC_X1)->isEnabled());
    press(Qt::Key_F6);
    EXPECT_EQ(editor.child()->GetActiveView(), editor.panel());
    press(Qt::Key_F6);
    EXPECT_EQ(focus(), canvas());
}

TEST_F(KeyboardTest, EveryCommandOfTheBarsHasAKeyOrAMenuItem)
{
    layout({box("A", 10, 10, 60, 30)});
    press(Qt::Key_Tab);
    std::set<unsigned> inMenu;
    ASSERT_TRUE(
        withMenu([&] { press(Qt::Key_Menu); }, [&](QMenu* menu) { commandsOf(menu, inMenu); }));
    const QRegularExpression namesAKey(QStringLiteral("\\((Strg\\+)?[A-Z]\\)$"));
    for (QToolBar* bar : {frame().ToolsBar(), frame().ArrangeBar()}) {
        for (QAction* action : bar->actions()) {
            const unsigned id = action->data().toUInt();
            if (action->isSeparator() || id == 0)
                continue;
            // The bar's Undo is the menu's in the Select tool: both undo the layout's last step.
            const bool menu =
                inMenu.count(id) || (id == ID_LAYOUT_UNDO && inMenu.count(fw::ID_EDIT_UNDO));
            const QString tip = fw::TooltipOf(fw::LoadString(id));
            EXPECT_TRUE(menu || tip.contains(namesAKey)) << id << " " << tip.toStdString();
        }
    }

    // The keys the tooltips name do what the buttons do.
    press(Qt::Key_N);
    EXPECT_TRUE(editor.app->Settings().NamesShown());
    press(Qt::Key_G);
    EXPECT_TRUE(editor.app->Settings().GridOn());
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(frame().History()->isVisible()) << "Ctrl+H";
    canvas()->setFocus();
    press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(controls().size(), 2u) << "Ctrl+D";
    press(Qt::Key_R);
    EXPECT_EQ(editor.app->Settings().CurrentTool(), CEditorSettings::DrawTool);
    press(Qt::Key_S);
    EXPECT_EQ(editor.app->Settings().CurrentTool(), CEditorSettings::SelectTool);
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(frame().History()->isVisible());
}
