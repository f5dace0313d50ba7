// The panel's edits behave as the platform's one-line edits: no length limit, typing filters
// that nothing gets past, one-line pastes, a single-level undo; and the form scrolls.
#include "PanelFixture.h"
#include "support/LayoutBytes.h"

#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>

using namespace testing_support;

namespace {

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

void drop(QWidget* target, const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    delete data;
}

void commit(QWidget* target, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(PanelTest, TypingFiltersHoldWhateverProducesTheCharacter)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    QLineEdit* x1 = edit(IDC_X1);
    QLineEdit* name = edit(IDC_NAME);
    x1->setFocus();
    x1->setText(QStringLiteral("1"));
    x1->end(false);
    sendKey(x1, Qt::Key_A, Qt::AltModifier, QStringLiteral("a"));
    sendKey(x1, Qt::Key_Period, Qt::GroupSwitchModifier, QStringLiteral("."));
    sendKey(x1, Qt::Key_Minus, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("-"));
    commit(x1, QStringLiteral("x"));
    drop(x1, QStringLiteral("1.5"));
    EXPECT_EQ(x1->text(), QStringLiteral("1")) << "nothing but digits is typed";
    sendKey(x1, Qt::Key_7, Qt::AltModifier, QStringLiteral("7"));
    drop(x1, QStringLiteral("2"));
    commit(x1, QStringLiteral("3"));
    EXPECT_EQ(x1->text().size(), 4);
    EXPECT_TRUE(editor.log.boxes.empty());

    name->setFocus();
    name->setText(QString());
    sendKey(name, Qt::Key_A, Qt::GroupSwitchModifier, QString::fromUtf8("ä"));
    sendKey(name, Qt::Key_B, Qt::AltModifier, QStringLiteral("b"));
    commit(name, QStringLiteral("c"));
    drop(name, QStringLiteral("d\nnot this"));
    EXPECT_EQ(name->text(), QString::fromUtf8("DäBC"))
        << "dropped where it was dropped; only a to z turn upper case";

    // Letters outside 7 bits whose capitals are 7-bit ones stay as typed, so the identifier
    // rule sees them and refuses them.
    name->setText(QStringLiteral("A"));
    name->end(false);
    sendKey(name, Qt::Key_I, Qt::GroupSwitchModifier, QString::fromUtf8("ı"));
    sendKey(name, Qt::Key_S, Qt::GroupSwitchModifier, QString::fromUtf8("ſ"));
    EXPECT_EQ(name->text(), QString::fromUtf8("Aıſ"));
    EXPECT_EQ(controls()[0].m_name, "A") << "neither became a 7-bit letter of the name";
}

TEST_F(PanelTest, APasteKeepsTheFirstLineOnly)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    QLineEdit* x1 = edit(IDC_X1);
    x1->setFocus();
    x1->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("12.5\n99\n"));
    editor.frame().ExecuteCommand(fw::ID_EDIT_PASTE);
    EXPECT_EQ(x1->text(), QStringLiteral("12.5"));
    EXPECT_EQ(controls()[0].m_x1, 12.5f);

    // The edit's own key does the same.
    x1->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("-4\r\n5"));
    QTest::keyClick(x1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(x1->text(), QStringLiteral("-4"));
    EXPECT_EQ(controls()[0].m_x1, -4.0f);
    EXPECT_TRUE(editor.log.boxes.empty());
}

TEST_F(PanelTest, UndoTogglesTheEditsLastChange)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    drag(QPoint(130, 30), QPoint(180, 60));
    select(0);
    auto* name = static_cast<fw::Edit*>(edit(IDC_NAME));
    name->setFocus();
    EXPECT_FALSE(editor.enabled(fw::ID_EDIT_UNDO)) << "shown by the program, not changed";
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("ok"));
    ASSERT_EQ(controls()[0].m_name, "OK");

    editor.frame().ExecuteCommand(fw::ID_EDIT_UNDO);
    EXPECT_EQ(name->text(), QStringLiteral("UNBENANNT0")) << "the typing run is one change";
    EXPECT_EQ(controls()[0].m_name, "UNBENANNT0") << "the change handler ran";
    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_UNDO));
    editor.frame().ExecuteCommand(fw::ID_EDIT_UNDO);
    EXPECT_EQ(name->text(), QStringLiteral("OK")) << "undo again takes the undo back";
    EXPECT_EQ(controls()[0].m_name, "OK");
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QStringLiteral("UNBENANNT0")) << "the edit's own key toggles too";

    // A paste is a change of its own; text the program sets leaves nothing to undo.
    QGuiApplication::clipboard()->setText(QStringLiteral("_P"));
    name->end(false);
    editor.frame().ExecuteCommand(fw::ID_EDIT_PASTE);
    EXPECT_EQ(name->text(), QStringLiteral("UNBENANNT0_P"));
    editor.frame().ExecuteCommand(fw::ID_EDIT_UNDO);
    EXPECT_EQ(name->text(), QStringLiteral("UNBENANNT0"));
    select(1);
    name->setFocus();
    EXPECT_FALSE(editor.enabled(fw::ID_EDIT_UNDO));
}

TEST_F(PanelTest, FocusStartsInTheNameField)
{
    TempDir dir;
    writeFile(dir.file("two.lay"), LayoutBytes(2, 2)
                                       .record(0, "ZED", 0, 0, 1, 2, 3, 4)
                                       .record(1, "ALPHA", 0, 0, 5, 6, 7, 8)
                                       .bytes);
    editor.app->OpenDocumentFile(QString::fromStdString(dir.file("two.lay")));
    processEvents();
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_NAME));
    editor.frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(QApplication::focusWidget(), editor.canvas()) << "F6 goes to the other pane";
    editor.frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_NAME)) << "F6 twice comes back to Name";
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("ZED"), QStringLiteral("ALPHA")}))
        << "the list keeps the file's order";
}

TEST_F(PanelTest, AShortPaneScrollsTheForm)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    editor.child()->resize(600, 300);
    processEvents();
    auto* pane = qobject_cast<QScrollArea*>(editor.child()->Splitter()->widget(0));
    ASSERT_NE(pane, nullptr);
    QScrollBar* bar = pane->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the form is taller than the pane";
    auto visible = [&](QWidget* w) {
        const int top = w->mapTo(pane->viewport(), QPoint(0, 0)).y();
        return top >= 0 && top + w->height() <= pane->viewport()->height();
    };
    EXPECT_FALSE(visible(deleteButton()));
    bar->setValue(bar->maximum());
    processEvents();
    EXPECT_TRUE(visible(deleteButton()));
    edit(IDC_NAME)->setFocus();
    processEvents();
    EXPECT_TRUE(visible(edit(IDC_NAME))) << "a field that takes the focus scrolls into sight";
}

TEST(LongNames, AHundredThousandCharactersSurviveEditingAndSaving)
{
    TempDir dir;
    const std::string name(100000, 'N');
    const Bytes original = LayoutBytes(2, 2)
                               .record(5, name, 1, 2, 10, 20, 30, 40)
                               .record(6, "B", 0, 0, 1, 2, 3, 4)
                               .bytes;
    writeFile(dir.file("long.lay"), original);
    EditorFixture editor({QString::fromStdString(dir.file("long.lay"))});
    ASSERT_TRUE(editor.app->InitInstance());
    auto* panel = editor.panel();
    auto* nameEdit = panel->findChild<QLineEdit*>(QString::number(IDC_NAME));
    auto* idEdit = panel->findChild<QLineEdit*>(QString::number(IDC_ID));
    EXPECT_EQ(nameEdit->text().size(), 100000);

    for (QLineEdit* edit : {idEdit, nameEdit}) {
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_5);
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    ASSERT_EQ(editor.doc()->m_layout.m_controls[0].m_name.size(), 100000u);
    ASSERT_TRUE(editor.doc()->DoFileSave());
    EXPECT_EQ(readFile(dir.file("long.lay")), original);
    EXPECT_TRUE(editor.log.boxes.empty());
}
