// What a screen reader reads of the editor, asked through Qt's accessibility interfaces on the
// offscreen platform: the canvas and its controls, made only when asked for, and the names
// of the panel's fields, its list and the bars' buttons. (The real bridge to AT-SPI and the
// events it carries are tested by atspi_test.sh.)
#include "SelectFixture.h"
#include "shell/MainFrame.h"
#include "views/CanvasAccessible.h"

#include <QAccessible>
#include <QToolBar>
#include <QToolButton>

using namespace testing_support;

namespace {

class AccessibleTest : public SelectToolTest
{
protected:
    CCanvasAccessible* reader()
    {
        return dynamic_cast<CCanvasAccessible*>(QAccessible::queryAccessibleInterface(canvas()));
    }
    QString name(QObject* object)
    {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        return iface ? iface->text(QAccessible::Name) : QString();
    }
};

LayoutControl numbered(const char* name, std::uint32_t id, float x1, float y1, float x2, float y2)
{
    LayoutControl c = box(name, x1, y1, x2, y2);
    c.m_id = id;
    return c;
}

} // namespace

TEST_F(AccessibleTest, TheCanvasReadsAsItsControlsInListOrder)
{
    layout({numbered("TITLE", 3, 100, 200, 180, 230), numbered("OK", 4, 10, 10, 60, 30.5f),
            numbered("BACK", 5, 300, 300, 250, 280)});
    CCanvasAccessible* canvasReader = reader();
    ASSERT_NE(canvasReader, nullptr);
    EXPECT_EQ(canvasReader->role(), QAccessible::Canvas);
    EXPECT_EQ(canvasReader->text(QAccessible::Name), QString::fromUtf8("Zeichenfläche"));
    ASSERT_EQ(canvasReader->childCount(), 3);
    QAccessibleInterface* title = canvasReader->child(0);
    EXPECT_EQ(title->role(), QAccessible::Graphic);
    EXPECT_EQ(title->text(QAccessible::Name), QStringLiteral("TITLE"));
    EXPECT_EQ(title->text(QAccessible::Description), QStringLiteral("Id 3, 100, 200 bis 180, 230"));
    EXPECT_EQ(canvasReader->child(1)->text(QAccessible::Description),
              QStringLiteral("Id 4, 10, 10 bis 60, 30.5"));
    EXPECT_EQ(canvasReader->child(2)->text(QAccessible::Description),
              QStringLiteral("Id 5, 300, 300 bis 250, 280"))
        << "the corners as stored, as the panel and laytool show them";
    EXPECT_EQ(title->parent(), canvasReader);
    EXPECT_EQ(canvasReader->indexOfChild(canvasReader->child(2)), 2);
    EXPECT_EQ(canvasReader->child(3), nullptr);

    // Where the canvas shows it, and what lies under a point there.
    EXPECT_EQ(title->rect(), QRect(canvas()->mapToGlobal(QPoint(120, 220)), QSize(80, 30)));
    EXPECT_EQ(canvasReader->childAt(title->rect().center().x(), title->rect().top()), title);
    EXPECT_EQ(canvasReader->childAt(canvas()->mapToGlobal(QPoint(500, 500)).x(),
                                    canvas()->mapToGlobal(QPoint(500, 500)).y()),
              nullptr);

    // Selected and focused as on the canvas.
    EXPECT_FALSE(title->state().selected);
    EXPECT_EQ(canvasReader->focusChild(), nullptr);
    key(Qt::Key_Tab);
    EXPECT_TRUE(title->state().selected);
    EXPECT_TRUE(title->state().focused);
    EXPECT_FALSE(canvasReader->child(1)->state().focused);
    EXPECT_EQ(canvasReader->focusChild(), title);
    edit(IDC_NAME)->setFocus();
    processEvents();
    EXPECT_FALSE(title->state().focused) << "the canvas lost the focus";
    EXPECT_TRUE(title->state().selected);

    // A table of a row per control: a reader may select rows.
    QAccessibleTableInterface* table = canvasReader->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->cellAt(2, 0), canvasReader->child(2));
    EXPECT_TRUE(table->selectRow(2));
    EXPECT_EQ(selected(), (std::vector<std::size_t>{0, 2}));
    EXPECT_TRUE(table->unselectRow(0));
    EXPECT_EQ(selected(), (std::vector<std::size_t>{2}));
    EXPECT_EQ(table->selectedRows(), QList<int>{2});
    EXPECT_FALSE(table->selectRow(3));

    // The children read the records as they are now.
    canvas()->setFocus();
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(canvasReader->child(2)->text(QAccessible::Description),
              QStringLiteral("Id 5, 301, 300 bis 250, 280"));
}

TEST_F(AccessibleTest, ChildrenAreMadeOnlyWhenAReaderAsksAndFollowTheList)
{
    std::vector<LayoutControl> many;
    for (int i = 0; i < 100000; ++i)
        many.push_back(numbered("C", static_cast<std::uint32_t>(i), static_cast<float>(i % 700),
                                static_cast<float>(i % 500), static_cast<float>(i % 700) + 20,
                                static_cast<float>(i % 500) + 10));
    layout(std::move(many));
    CCanvasAccessible* canvasReader = reader();
    ASSERT_NE(canvasReader, nullptr);
    EXPECT_EQ(canvasReader->childCount(), 100000);
    EXPECT_EQ(canvasReader->ChildrenMade(), 0u);

    // Edited without a reader listening: still nothing per control.
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Insert);
    key(Qt::Key_Delete);
    EXPECT_EQ(canvasReader->ChildrenMade(), 0u);

    QAccessibleInterface* first = canvasReader->child(0);
    QAccessibleInterface* end = canvasReader->child(99999);
    EXPECT_EQ(canvasReader->ChildrenMade(), 2u);
    EXPECT_EQ(canvasReader->child(99999), end) << "made once";
    const QAccessible::Id firstId = QAccessible::uniqueId(first);
    const QAccessible::Id endId = QAccessible::uniqueId(end);

    // An insertion keeps the children before it; anything else of the list drops them all,
    // as they would name other controls now.
    key(Qt::Key_Insert);
    EXPECT_EQ(canvasReader->childCount(), 100001);
    EXPECT_EQ(QAccessible::accessibleInterface(firstId), first);
    EXPECT_EQ(QAccessible::accessibleInterface(endId), end);
    key(Qt::Key_Delete);
    EXPECT_EQ(canvasReader->ChildrenMade(), 0u);
    EXPECT_EQ(QAccessible::accessibleInterface(firstId), nullptr);
    EXPECT_EQ(canvasReader->child(0)->text(QAccessible::Description),
              QStringLiteral("Id 0, 0, 0 bis 20, 10"));
}

TEST_F(AccessibleTest, FieldsListAndButtonsHaveNames)
{
    layout({box("A", 10, 10, 50, 30)});
    EXPECT_EQ(name(edit(IDC_X1)), QStringLiteral("X1:")) << "from its label";
    EXPECT_EQ(name(edit(IDC_NAME)), QString::fromUtf8("Имя:"));
    EXPECT_EQ(name(edit(IDC_TEXT_ID)), QString::fromUtf8("Текст ID:"));
    EXPECT_EQ(name(list()), QStringLiteral("Steuerelemente"));
    EXPECT_EQ(name(editor.panel()), QStringLiteral("Eigenschaften"));

    auto& frame = static_cast<CMainFrame&>(editor.frame());
    int buttons = 0;
    for (QToolBar* bar : {frame.ToolBar(), frame.ToolsBar(), frame.ArrangeBar()}) {
        for (QToolButton* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
            if (!button->defaultAction() || button->defaultAction()->isSeparator())
                continue;
            ++buttons;
            EXPECT_FALSE(name(button).isEmpty()) << button->defaultAction()->data().toUInt();
        }
    }
    EXPECT_GE(buttons, 8 + 6 + 13);
    EXPECT_EQ(name(frame.ToolsBar()->widgetForAction(frame.Action(ID_TOOL_SELECT))),
              QStringLiteral("Auswählen (S)"));
    EXPECT_EQ(name(frame.ArrangeBar()->widgetForAction(frame.Action(ID_ALIGN_LEFT))),
              QStringLiteral("Links ausrichten"));
    EXPECT_EQ(name(frame.ToolBar()->widgetForAction(frame.Action(fw::ID_EDIT_CUT))),
              QString::fromUtf8("Вырезать"))
        << "no tooltip: the prompt";
}
