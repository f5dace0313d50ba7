// Working with many controls in the editor: names on the canvas, the search field and the
// list it filters, one edit for a whole selection, and the distances the canvas shows.
#include "LayoutFile.h"
#include "SelectFixture.h"
#include "shell/MainFrame.h"
#include "shell/SearchField.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

using namespace testing_support;

namespace {

const QRgb MEASURE = qRgb(200, 0, 160);

class ManyControlsTest : public SelectToolTest
{
protected:
    CMainFrame& frame() { return static_cast<CMainFrame&>(editor.frame()); }
    QLineEdit* query() { return frame().Search()->Edit(); }
    void search(const QString& text)
    {
        query()->setFocus();
        query()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(query(), Qt::Key_Backspace);
        else
            QTest::keyClicks(query(), text);
        processEvents();
    }
    std::vector<std::string> names()
    {
        std::vector<std::string> all;
        for (const LayoutControl& c : controls())
            all.push_back(c.m_name);
        return all;
    }
    int count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }
    void loginScreen()
    {
        std::vector<LayoutControl> screen = {
            box("TITLE", 10, 10, 790, 50), box("USER_LABEL", 100, 100, 200, 130),
            box("USER_FIELD", 220, 100, 500, 130), box("OK_BTN", 100, 300, 180, 330),
            box("CANCEL_BTN", 200, 300, 320, 330)};
        screen[3].m_textId = 5;
        screen[4].m_textId = 5;
        screen[1].m_guiResourceId = 7;
        layout(std::move(screen));
    }
};

} // namespace

TEST_F(ManyControlsTest, NamesShowInsideTheControlsAndGoAgainWithoutATrace)
{
    loginScreen();
    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    const QImage plain = picture();
    EXPECT_FALSE(editor.app->Settings().NamesShown()) << "off by default";
    canvas()->setFocus();
    key(Qt::Key_N);
    const QImage named = picture();
    const QRect title(QPoint(21 + 10, 21 + 10), QPoint(18 + 790, 18 + 50)); // inside TITLE
    EXPECT_NE(named.copy(title), plain.copy(title)) << "the name is written inside";
    EXPECT_EQ(named.copy(0, 0, 840, 20), plain.copy(0, 0, 840, 20)) << "and nowhere outside";
    frame().UpdateCommandUI();
    EXPECT_TRUE(frame().Action(resources::ID_VIEW_NAMES)->isChecked());
    key(Qt::Key_N);
    EXPECT_EQ(picture(), plain) << "off again: the picture as it was, bit for bit";

    // The switch on the tools bar, remembered for the next start.
    frame().ExecuteCommand(resources::ID_VIEW_NAMES);
    EXPECT_TRUE(editor.app->Settings().NamesShown());
    EXPECT_EQ(editor.app->GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Names"), 0), 1);
}

TEST_F(ManyControlsTest, TheSearchFieldFiltersTheListAndEnterSelectsTheMatches)
{
    loginScreen();
    editor.app->Settings().SetTool(CEditorSettings::DrawTool);
    processEvents();
    QTest::keyClick(canvas(), Qt::Key_F, Qt::ControlModifier);
    processEvents();
    EXPECT_TRUE(query()->hasFocus()) << "Ctrl+F from the canvas";
    // Typed as a user types: each key goes where the focus is, and the field keeps it (the
    // count appearing beside it once made the bar hide the field).
    for (char key : std::string("btn")) {
        QTest::keyClick(QApplication::focusWidget(), key);
        processEvents();
    }
    EXPECT_EQ(query()->text(), QStringLiteral("btn"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("OK_BTN"), QStringLiteral("CANCEL_BTN")}));
    EXPECT_EQ(frame().Search()->Count()->text(), QStringLiteral("2 von 5"));

    // A row names its control: picking, renaming and deleting reach that control.
    select(1);
    EXPECT_EQ(doc()->CurrentIndex(), 4);
    replaceText(IDC_NAME, QStringLiteral("ABORT"));
    EXPECT_EQ(controls()[4].m_name, "ABORT");
    EXPECT_EQ(rows(), QStringList{QStringLiteral("OK_BTN")}) << "no longer a match";
    search(QStringLiteral("text:5"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("OK_BTN"), QStringLiteral("ABORT")}));
    select(0);
    deleteButton()->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"TITLE", "USER_LABEL", "USER_FIELD", "ABORT"}));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("ABORT")});
    doc()->UndoStack()->undo();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("OK_BTN"), QStringLiteral("ABORT")}))
        << "undo brings the row back";

    // A query that cannot be read says why and filters nothing.
    search(QStringLiteral("size:3"));
    EXPECT_EQ(rows().size(), 5);
    EXPECT_EQ(query()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(query()->toolTip().contains(QStringLiteral("size:3")));
    EXPECT_TRUE(frame().Search()->Count()->isHidden());

    // Enter: every match selected in the Select tool, the first current, the canvas in focus.
    search(QStringLiteral("user"));
    QTest::keyClick(query(), Qt::Key_Return);
    processEvents();
    EXPECT_EQ(editor.app->Settings().CurrentTool(), CEditorSettings::SelectTool);
    EXPECT_EQ(selected(), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(doc()->CurrentIndex(), 1);
    EXPECT_TRUE(canvas()->hasFocus());
    EXPECT_EQ(doc()->UndoStack()->count(), 2) << "a selection is no step";

    search(QString());
    EXPECT_EQ(rows().size(), 5) << "an empty field gives the whole list back";
    EXPECT_EQ(list()->count(), 5);
}

TEST_F(ManyControlsTest, TheContextMenuSelectsControlsThatShareAValue)
{
    loginScreen();
    click(at(120, 310));
    ASSERT_EQ(doc()->CurrentIndex(), 3);
    frame().ExecuteCommand(resources::ID_SELECT_SAME_TEXT);
    EXPECT_EQ(selected(), (std::vector<std::size_t>{3, 4}));
    click(at(120, 110));
    frame().ExecuteCommand(resources::ID_SELECT_SAME_RESOURCE);
    EXPECT_EQ(selected(), (std::vector<std::size_t>{1}));
    click(at(120, 310));
    frame().ExecuteCommand(resources::ID_SELECT_SAME_SIZE);
    EXPECT_EQ(selected(), (std::vector<std::size_t>{3})) << "80 by 30 is OK_BTN's alone";

    // The items stand in the menu under their Russian names.
    QStringList items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->menu())
                for (QAction* inner : action->menu()->actions())
                    items << action->text() + QLatin1Char('/') + inner->text();
        menu->close();
    });
    send(QEvent::MouseButtonPress, at(120, 310), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(items.contains(QString::fromUtf8("Выбрать &такие же/Тот же &текст")));
    EXPECT_TRUE(items.contains(QString::fromUtf8("Выбрать &такие же/Тот же &ресурс")));
    EXPECT_TRUE(items.contains(QString::fromUtf8("Выбрать &такие же/Тот же ра&змер")));
}

TEST_F(ManyControlsTest, OneValueForAWholeSelectionIsOneStep)
{
    loginScreen();
    click(at(400, 30));
    ASSERT_EQ(edit(IDC_NAME)->text(), QStringLiteral("TITLE"));
    // A rubber band over the four lower controls.
    dragTo(at(90, 90), at(590, 340));
    ASSERT_EQ(selected(), (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_FALSE(edit(IDC_NAME)->isEnabled()) << "names and ids must differ";
    EXPECT_FALSE(edit(IDC_ID)->isEnabled());
    EXPECT_EQ(edit(IDC_NAME)->text(), QString()) << "not the name of the control current before";
    EXPECT_EQ(edit(IDC_ID)->text(), QString());
    EXPECT_TRUE(edit(IDC_X1)->isEnabled());
    EXPECT_EQ(edit(IDC_X1)->text(), QString()) << "they differ";
    EXPECT_EQ(edit(IDC_HEIGHT)->text(), QStringLiteral("30")) << "they share it";
    EXPECT_EQ(edit(IDC_TEXT_ID)->text(), QString());

    const std::vector<LayoutControl> before = controls();
    replaceText(IDC_X1, QStringLiteral("100"));
    for (std::size_t i : {1u, 2u, 3u, 4u}) {
        EXPECT_EQ(controls()[i].m_x1, 100.0f) << i;
        EXPECT_EQ(controls()[i].m_x2 - controls()[i].m_x1, before[i].m_x2 - before[i].m_x1)
            << "widths kept";
    }
    EXPECT_EQ(controls()[0].m_x1, 10.0f) << "the unselected control stays";
    EXPECT_EQ(doc()->UndoStack()->count(), 1) << "three keys, one step";
    EXPECT_EQ(doc()->UndoStack()->undoText(), QString::fromUtf8("X1 ändern: 4 Steuerelemente"));
    replaceText(IDC_TEXT_ID, QStringLiteral("9"));
    for (std::size_t i : {1u, 2u, 3u, 4u})
        EXPECT_EQ(controls()[i].m_textId, 9u);
    EXPECT_TRUE(editor.log.boxes.empty()) << "the fields left empty are not read";

    doc()->UndoStack()->undo();
    doc()->UndoStack()->undo();
    EXPECT_TRUE(IdenticalRecords(controls(), before)) << "two undos, and all is as before";
    EXPECT_EQ(edit(IDC_X1)->text(), QString()) << "the panel follows the undo";

    click(at(120, 310));
    EXPECT_TRUE(edit(IDC_NAME)->isEnabled()) << "one control: the panel as ever";
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("OK_BTN"));
    EXPECT_EQ(edit(IDC_X1)->text(), QStringLiteral("100"));
}

TEST_F(ManyControlsTest, AltShowsDistancesAndADragShowsWhereItGoes)
{
    loginScreen();
    click(at(120, 310)); // OK_BTN, 100..180
    const QImage before = picture();
    EXPECT_EQ(count(before, MEASURE), 0);
    // Alt over CANCEL_BTN, 20 pixels to the right.
    send(QEvent::MouseMove, at(250, 315), Qt::NoButton, Qt::NoButton, Qt::AltModifier);
    const QImage measured = picture();
    EXPECT_GT(count(measured, MEASURE), 15) << "a line between the two";
    EXPECT_EQ(measured.pixel(20 + 190, 20 + 315), MEASURE) << "across the gap";
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas(), &altUp);
    EXPECT_EQ(picture(), before) << "gone when Alt is let go";
    // The same while the keys go to the list: the canvas hears no key, yet Alt is let go.
    QWidget* list =
        doc()->m_panel->findChild<QWidget*>(QString::number(resources::IDC_CONTROL_LIST));
    ASSERT_NE(list, nullptr);
    send(QEvent::MouseMove, at(250, 316), Qt::NoButton, Qt::NoButton, Qt::AltModifier);
    EXPECT_GT(count(picture(), MEASURE), 15);
    QKeyEvent altUpInList(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &altUpInList);
    const QImage after = picture();
    EXPECT_EQ(count(after, MEASURE), 0) << "gone when Alt is let go over another widget";
    EXPECT_EQ(after, before);

    // While dragging: the distances to the neighbours and the position by the pointer.
    dragTo(at(120, 310), at(120, 250), 3, Qt::NoModifier, false);
    const QImage dragging = picture();
    EXPECT_GT(count(dragging, MEASURE), 15);
    send(QEvent::MouseButtonRelease, at(120, 250), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(count(picture(), MEASURE), 0) << "gone with the button";
}
