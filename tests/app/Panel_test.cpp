#include "PanelFixture.h"
#include "resources/Resource.h"
#include "support/LayoutRecords.h"

#include <QClipboard>
#include <QLineEdit>

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

using namespace testing_support;
using namespace resources;

TEST_F(PanelTest, NewDocumentShowsADisabledEmptyPanel)
{
    for (int id : {IDC_X1, IDC_Y1, IDC_WIDTH, IDC_HEIGHT, IDC_NAME, IDC_ID, IDC_GUI_RESOURCE_ID,
                   IDC_TEXT_ID})
        EXPECT_FALSE(edit(id)->isEnabled()) << id;
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(deleteButton()->isEnabled());
    for (int id : {IDC_X1, IDC_Y1, IDC_WIDTH, IDC_HEIGHT, IDC_ID, IDC_GUI_RESOURCE_ID, IDC_TEXT_ID})
        EXPECT_EQ(edit(id)->text(), QStringLiteral("0")) << id;
    EXPECT_EQ(edit(IDC_NAME)->text(), QString());
    EXPECT_EQ(list()->count(), 0);
}

TEST_F(PanelTest, DraggingMakesANamedCurrentControl)
{
    canvasRepainted();
    drag(QPoint(300, 200), QPoint(100, 50));
    ASSERT_EQ(controls().size(), 1u);
    const LayoutControl& c = controls()[0];
    EXPECT_EQ(c.m_name, "UNBENANNT0");
    EXPECT_EQ(c.m_id, 0u);
    EXPECT_EQ(c.m_x1, 280.0f);
    EXPECT_EQ(c.m_y1, 180.0f);
    EXPECT_EQ(c.m_x2, 80.0f);
    EXPECT_EQ(c.m_y2, 30.0f);
    EXPECT_EQ(c.m_guiResourceId, 0u);
    EXPECT_EQ(c.m_textId, 0u);
    EXPECT_EQ(doc()->m_currentControl, &controls()[0]);
    EXPECT_TRUE(edit(IDC_X1)->isEnabled());
    EXPECT_EQ(edit(IDC_WIDTH)->text(), QStringLiteral("-200"));
    EXPECT_EQ(edit(IDC_HEIGHT)->text(), QStringLiteral("-150"));
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT0"));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("UNBENANNT0")});
    EXPECT_LT(list()->SelectedRow(), 0);
    EXPECT_TRUE(doc()->IsModified());
    EXPECT_TRUE(canvasRepainted()) << "a drawn control repaints the canvas";

    const QImage picture = editor.canvas()->grab().toImage();
    EXPECT_EQ(picture.pixel(100, 50), qRgb(255, 0, 0));

    drag(QPoint(400, 300), QPoint(450, 350));
    ASSERT_EQ(controls().size(), 2u);
    EXPECT_EQ(controls()[1].m_name, "UNBENANNT1");
    EXPECT_EQ(controls()[1].m_id, 1u);

    // Too small: a click, a purely horizontal and a purely vertical drag.
    drag(QPoint(50, 50), QPoint(50, 50));
    drag(QPoint(50, 50), QPoint(90, 50));
    EXPECT_EQ(controls().size(), 2u);
    QTest::mousePress(editor.canvas(), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(editor.canvas(), QPoint(70, 80));
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, QPoint(50, 90));
    EXPECT_EQ(controls().size(), 2u);
    EXPECT_FALSE(editor.canvas()->m_dragging);
    // The release point, not the last move, is the second corner, made control or not.
    EXPECT_EQ(doc()->m_newControl.m_x2, 30.0f);
    EXPECT_EQ(doc()->m_newControl.m_y2, 70.0f);

    drag(QPoint(5, 5), QPoint(6, 6));
    ASSERT_EQ(controls().size(), 3u);
    EXPECT_EQ(controls()[2].m_x1, -15.0f);
    EXPECT_EQ(controls()[2].m_y1, -15.0f);
}

TEST_F(PanelTest, DoubleClicksAndReleasesOutsideTheCanvas)
{
    QTest::mouseDClick(editor.canvas(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(controls().empty());
    EXPECT_FALSE(editor.canvas()->m_dragging) << "the second press started no drag";

    // A release outside the canvas is not taken: the drag stays open and the next release
    // on the canvas completes it from the first corner.
    QTest::mousePress(editor.canvas(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, QPoint(-30, 40));
    EXPECT_TRUE(editor.canvas()->m_dragging);
    EXPECT_TRUE(controls().empty());
    QTest::mouseMove(editor.canvas(), QPoint(200, 150));
    EXPECT_EQ(doc()->m_newControl.m_x2, 180.0f);
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, QPoint(210, 160));
    ASSERT_EQ(controls().size(), 1u);
    EXPECT_EQ(controls()[0].m_x1, 80.0f);
    EXPECT_EQ(controls()[0].m_x2, 190.0f);
}

TEST_F(PanelTest, DrawnNamesAndIdsNeverRepeat)
{
    const auto namesAndIds = [this] {
        std::vector<std::pair<std::string, std::uint32_t>> all;
        for (const LayoutControl& c : controls())
            all.emplace_back(c.m_name, c.m_id);
        return all;
    };
    using Drawn = std::vector<std::pair<std::string, std::uint32_t>>;
    for (int i = 0; i < 3; ++i)
        drag(QPoint(50 + 10 * i, 50), QPoint(90 + 10 * i, 90));
    EXPECT_EQ(namesAndIds(), (Drawn{{"UNBENANNT0", 0}, {"UNBENANNT1", 1}, {"UNBENANNT2", 2}}))
        << "the count, where it is free";
    select(0);
    deleteButton()->click();
    drag(QPoint(300, 300), QPoint(350, 350));
    EXPECT_EQ(namesAndIds(), (Drawn{{"UNBENANNT1", 1}, {"UNBENANNT2", 2}, {"UNBENANNT3", 3}}))
        << "the count's name is taken: the next number free as name and as id";

    // Ids that are not 0 to n-1: the count is taken as an id, not as a name.
    std::vector<LayoutControl> twoAndFour = {box("A", 0, 0, 10, 10), box("B", 0, 0, 10, 10)};
    twoAndFour[0].m_id = 2;
    twoAndFour[1].m_id = 4;
    doc()->Model().ReplaceControls(nullptr, std::move(twoAndFour), QStringLiteral("x"));
    drag(QPoint(300, 300), QPoint(350, 350));
    EXPECT_EQ(controls()[2].m_name, "UNBENANNT3");
    EXPECT_EQ(controls()[2].m_id, 3u);
    // A name of another form (leading zero) is no drawn name; renaming one frees its number.
    replaceText(IDC_NAME, QStringLiteral("unbenannt04"));
    drag(QPoint(300, 300), QPoint(360, 360));
    EXPECT_EQ(controls()[3].m_name, "UNBENANNT5") << "4 is an id";
    select(1);
    replaceText(IDC_ID, QStringLiteral("9"));
    drag(QPoint(300, 300), QPoint(370, 370));
    EXPECT_EQ(controls()[4].m_name, "UNBENANNT4") << "the count again once its id is free";
    EXPECT_EQ(controls()[4].m_id, 4u);

    // Undo takes a control out of the counts.
    doc()->UndoStack()->undo();
    ASSERT_EQ(controls().size(), 4u);
    drag(QPoint(300, 300), QPoint(370, 370));
    EXPECT_EQ(controls()[4].m_name, "UNBENANNT4");
}

TEST_F(PanelTest, DrawingAmongManyControlsCountsThemOnce)
{
    std::vector<LayoutControl> many(100000);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].m_id = static_cast<std::uint32_t>(i + 1); // the count is always taken
        many[i].m_name = "C" + std::to_string(i);
    }
    doc()->Model().ReplaceControls(nullptr, std::move(many), QStringLiteral("x"));
    for (int i = 0; i < 20; ++i)
        drag(QPoint(300, 300), QPoint(350 + i, 350));
    EXPECT_EQ(controls().back().m_name, "UNBENANNT100020") << "each draw takes the next one free";
    EXPECT_EQ(controls().back().m_id, 100020u);
    EXPECT_EQ(doc()->Model().DrawnNames().Counts(), 1)
        << "the names and ids are counted once, not per draw";
}

TEST_F(PanelTest, FieldEditsMoveAndSizeTheCurrentControl)
{
    drag(QPoint(30, 30), QPoint(80, 60)); // x1 10, x2 60
    EXPECT_EQ(edit(IDC_WIDTH)->text(), QStringLiteral("50"));
    canvasRepainted();
    replaceText(IDC_X1, QStringLiteral("20"));
    EXPECT_TRUE(canvasRepainted()) << "an edit repaints the canvas";
    EXPECT_EQ(controls()[0].m_x1, 20.0f);
    EXPECT_EQ(controls()[0].m_x2, 70.0f);
    replaceText(IDC_WIDTH, QStringLiteral("5"));
    EXPECT_EQ(controls()[0].m_x2, 25.0f);
    replaceText(IDC_Y1, QStringLiteral("7"));
    EXPECT_EQ(controls()[0].m_y1, 7.0f);
    EXPECT_EQ(controls()[0].m_y2, 37.0f);
    replaceText(IDC_GUI_RESOURCE_ID, QStringLiteral("17"));
    replaceText(IDC_TEXT_ID, QStringLiteral("18"));
    EXPECT_EQ(controls()[0].m_guiResourceId, 17u);
    EXPECT_EQ(controls()[0].m_textId, 18u);
    EXPECT_TRUE(editor.log.boxes.empty());

    // Typing cannot bring a sign or a point into the digit fields; pasting can.
    replaceText(IDC_X1, QStringLiteral("-1.5"));
    EXPECT_EQ(edit(IDC_X1)->text(), QStringLiteral("15"));
    replaceText(IDC_X1, QStringLiteral("12.5"), true);
    EXPECT_EQ(controls()[0].m_x1, 12.5f);
    replaceText(IDC_X1, QStringLiteral("-3"), true);
    EXPECT_EQ(controls()[0].m_x1, -3.0f);
    EXPECT_EQ(controls()[0].m_x2, 2.0f);
}

TEST_F(PanelTest, UnreadableFieldsAreReportedAndStopTheTransfer)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    replaceText(IDC_X1, QString());
    ASSERT_EQ(editor.log.texts(), std::vector<QString>{NUMBER_MESSAGE});
    EXPECT_EQ(editor.log.boxes[0].icon, fw::MB_ICONWARNING);
    EXPECT_EQ(editor.log.boxes[0].caption, QStringLiteral("Karvelo"));
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_X1));
    EXPECT_EQ(controls()[0].m_x1, 10.0f) << "the control does not move";

    // While X1 is unreadable a change behind it reports X1 again and is not taken over.
    replaceText(IDC_ID, QStringLiteral("9"));
    EXPECT_EQ(editor.log.texts().size(), 2u);
    EXPECT_EQ(editor.log.texts().back(), NUMBER_MESSAGE);
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_X1));
    EXPECT_EQ(controls()[0].m_id, 0u);

    replaceText(IDC_X1, QStringLiteral("10"));
    const std::size_t before = editor.log.boxes.size();
    replaceText(IDC_ID, QStringLiteral("-5"), true);
    EXPECT_EQ(editor.log.texts().back(), INTEGER_MESSAGE);
    replaceText(IDC_ID, QStringLiteral("4294967295"), true);
    EXPECT_EQ(controls()[0].m_id, 4294967295u);
    const std::size_t accepted = editor.log.boxes.size();
    replaceText(IDC_ID, QStringLiteral("4294967296"), true);
    EXPECT_EQ(editor.log.boxes.size(), accepted + 1) << "not cut to 32 bits";
    EXPECT_EQ(controls()[0].m_id, 4294967295u);
    EXPECT_GT(accepted, before);
}

TEST(NumberTexts, FormattingAndParsingFollowTheCRules)
{
    EXPECT_EQ(fw::FormatFloat(10.0f), QStringLiteral("10"));
    EXPECT_EQ(fw::FormatFloat(12.5f), QStringLiteral("12.5"));
    EXPECT_EQ(fw::FormatFloat(-50.0f), QStringLiteral("-50"));
    EXPECT_EQ(fw::FormatFloat(1234567.0f), QStringLiteral("1.23457e+06"));
    EXPECT_EQ(fw::FormatFloat(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(fw::FormatUnsigned(4294967295u), QStringLiteral("4294967295"));

    EXPECT_EQ(fw::ParseFloat(QStringLiteral(" \t12.5 \t")), 12.5f);
    EXPECT_EQ(fw::ParseFloat(QStringLiteral("0")), 0.0f);
    EXPECT_EQ(fw::ParseFloat(QStringLiteral("0.0")), 0.0f);
    EXPECT_EQ(fw::ParseFloat(QStringLiteral("-3")), -3.0f);
    EXPECT_EQ(fw::ParseFloat(QStringLiteral("1e3")), 1000.0f);
    EXPECT_FALSE(fw::ParseFloat(QString()));
    EXPECT_FALSE(fw::ParseFloat(QStringLiteral("abc")));
    EXPECT_FALSE(fw::ParseFloat(QStringLiteral("12x")));
    EXPECT_FALSE(fw::ParseFloat(QStringLiteral("1,5"))) << "never a decimal comma";
    EXPECT_FALSE(fw::ParseFloat(QStringLiteral("-0"))) << "a zero whose text does not start with 0";

    EXPECT_EQ(fw::ParseUnsigned(QStringLiteral("  42 ")), 42u);
    EXPECT_EQ(fw::ParseUnsigned(QStringLiteral("0")), 0u);
    EXPECT_EQ(fw::ParseUnsigned(QStringLiteral("+7")), 7u);
    EXPECT_FALSE(fw::ParseUnsigned(QStringLiteral("-5")));
    EXPECT_FALSE(fw::ParseUnsigned(QStringLiteral("-0")));
    EXPECT_FALSE(fw::ParseUnsigned(QStringLiteral("4294967296")));
    EXPECT_FALSE(fw::ParseUnsigned(QStringLiteral("99999999999999999999999")));
    EXPECT_FALSE(fw::ParseUnsigned(QStringLiteral("1.5")));
    EXPECT_FALSE(fw::ParseUnsigned(QString()));
}

TEST(NumberTexts, TheUserLocaleDoesNotChangeThem)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    TempDir locales;
    if (!german) {
        // Build the German locale in a folder of our own when the system has none installed.
        const std::string build =
            "localedef -i de_DE -f UTF-8 " + locales.file("de_DE.UTF-8") + " >/dev/null 2>&1";
        if (std::system(build.c_str()) == 0) {
            ::setenv("LOCPATH", locales.path().c_str(), 1);
            german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        }
    }
    if (!german)
        GTEST_SKIP() << "no German locale can be had on this machine";
    ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
    EXPECT_EQ(fw::FormatFloat(12.5f), QStringLiteral("12.5"));
    EXPECT_EQ(fw::ParseFloat(QStringLiteral("12.5")), 12.5f);
    EXPECT_FALSE(fw::ParseFloat(QStringLiteral("12,5")));
    std::setlocale(LC_NUMERIC, saved.c_str());
    ::unsetenv("LOCPATH");
}

TEST_F(PanelTest, NamesFollowTheIdentifierRule)
{
    for (const char* good : {"ABC", "A1", "_X", "__", "a_b"})
        EXPECT_TRUE(CKarveloView_Controls::IsValidIdentifier(good)) << good;
    for (const char* bad : {"1A", "9", "A B", "A-B", "A.B", "\xE4", "AB\xC4", ""})
        EXPECT_FALSE(CKarveloView_Controls::IsValidIdentifier(bad)) << bad;

    drag(QPoint(30, 30), QPoint(80, 60));
    drag(QPoint(130, 30), QPoint(180, 60));
    select(0);
    replaceText(IDC_NAME, QStringLiteral("1"));
    ASSERT_EQ(editor.log.texts().size(), 1u);
    EXPECT_EQ(editor.log.texts()[0],
              QString::fromUtf8("Ungültiger Bezeichner!\nZulässige Zeichen  a-z, A-Z, 0-9.\n"
                                "Das erste Zeichen eines Bezeichners darf keine Zahl sein.\n"
                                "Überprüfen Sie den eingegebenen String auf diese Konventionen!"));
    EXPECT_EQ(controls()[0].m_name, "UNBENANNT0");
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("1")) << "the edit keeps what was typed";

    replaceText(IDC_NAME, QString());
    EXPECT_EQ(editor.log.texts().size(), 1u) << "an empty name is no error";
    EXPECT_EQ(controls()[0].m_name, "UNBENANNT0");

    replaceText(IDC_NAME, QStringLiteral("ok_1"));
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("OK_1")) << "typed letters arrive upper case";
    EXPECT_EQ(controls()[0].m_name, "OK_1");
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("OK_1"), QStringLiteral("UNBENANNT1")}));
    EXPECT_LT(list()->SelectedRow(), 0);
    EXPECT_EQ(editor.log.texts().size(), 1u);

    // A name that another control bears already is fine.
    replaceText(IDC_NAME, QStringLiteral("UNBENANNT1"), true);
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("UNBENANNT1"), QStringLiteral("UNBENANNT1")}));
}

TEST_F(PanelTest, PickingARowMakesItCurrent)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    drag(QPoint(130, 30), QPoint(190, 70));
    drag(QPoint(230, 30), QPoint(300, 80));
    controls()[0].m_textId = 44;
    select(0);
    EXPECT_EQ(doc()->m_currentControl, &controls()[0]);
    EXPECT_EQ(edit(IDC_X1)->text(), QStringLiteral("10"));
    EXPECT_EQ(edit(IDC_TEXT_ID)->text(), QStringLiteral("44"));
    EXPECT_GE(list()->SelectedRow(), 0);

    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(doc()->m_currentControl, &controls()[1]);
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT1"));
    canvasRepainted();
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(doc()->m_currentControl, &controls()[2]);
    EXPECT_TRUE(canvasRepainted()) << "a row picked repaints the canvas";
    EXPECT_EQ(editor.canvas()->grab().toImage().pixel(230, 30), qRgb(255, 0, 0));
}

TEST_F(PanelTest, DeleteRemovesTheSelectedRow)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    drag(QPoint(130, 30), QPoint(190, 70));
    drag(QPoint(230, 30), QPoint(300, 80));
    deleteButton()->click();
    EXPECT_EQ(controls().size(), 3u) << "no row selected: nothing happens";

    select(1);
    deleteButton()->click();
    ASSERT_EQ(controls().size(), 2u);
    EXPECT_EQ(controls()[1].m_name, "UNBENANNT2");
    EXPECT_EQ(doc()->m_currentControl, &controls()[0]);
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT0"));
    EXPECT_LT(list()->SelectedRow(), 0);

    select(1);
    deleteButton()->click();
    select(0);
    canvasRepainted();
    deleteButton()->click();
    EXPECT_TRUE(canvasRepainted()) << "Delete repaints the canvas";
    EXPECT_TRUE(controls().empty());
    EXPECT_EQ(doc()->m_currentControl, nullptr);
    EXPECT_FALSE(edit(IDC_X1)->isEnabled());
    EXPECT_FALSE(deleteButton()->isEnabled());
    EXPECT_EQ(edit(IDC_NAME)->text(), QStringLiteral("UNBENANNT0"))
        << "the last values stay, greyed";
    const QImage picture = editor.canvas()->grab().toImage();
    EXPECT_EQ(picture.pixel(30, 30), qRgb(255, 255, 255));
}

TEST_F(PanelTest, EditCommandsActOnTheFocusedEdit)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    QLineEdit* x1 = edit(IDC_X1);
    x1->setFocus();
    x1->deselect();
    processEvents();
    ASSERT_EQ(editor.child()->GetActiveView(), editor.panel());
    EXPECT_FALSE(editor.enabled(fw::ID_EDIT_COPY));
    EXPECT_FALSE(editor.enabled(fw::ID_EDIT_CUT));
    x1->setSelection(0, 1);
    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_COPY));
    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_CUT));

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(editor.enabled(fw::ID_EDIT_PASTE));
    QGuiApplication::clipboard()->setText(QStringLiteral("42"));
    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_PASTE));
    x1->selectAll();
    editor.frame().ExecuteCommand(fw::ID_EDIT_PASTE);
    EXPECT_EQ(controls()[0].m_x1, 42.0f) << "a paste moves the control";
    EXPECT_TRUE(editor.enabled(fw::ID_EDIT_UNDO));
    editor.frame().ExecuteCommand(fw::ID_EDIT_UNDO);
    EXPECT_EQ(controls()[0].m_x1, 10.0f);

    list()->setFocus();
    processEvents();
    for (fw::CommandId id :
         {fw::ID_EDIT_UNDO, fw::ID_EDIT_CUT, fw::ID_EDIT_COPY, fw::ID_EDIT_PASTE})
        EXPECT_FALSE(editor.enabled(id)) << id;
}

TEST_F(PanelTest, ListAndNameFollowTheClientWidth)
{
    // The pane around the form: as high as the form, so it needs no scroll bar.
    QWidget* pane = editor.child()->Splitter()->widget(0);
    pane->resize(200, 700);
    EXPECT_EQ(list()->geometry(), QRect(1, 290, 195, 320));
    EXPECT_EQ(edit(IDC_NAME)->geometry(), QRect(2, 18, 195, 22));
    pane->resize(40, 700);
    EXPECT_EQ(list()->width(), 60);
    EXPECT_EQ(edit(IDC_NAME)->width(), 60);
}

TEST_F(PanelTest, EveryChangeAsksBeforeClosing)
{
    auto closeAsks = [this](const std::function<void()>& change) {
        change();
        editor.log.boxes.clear();
        editor.log.answers = {fw::IDCANCEL};
        editor.child()->close();
        processEvents();
        const bool asked =
            editor.log.boxes.size() == 1 && editor.log.boxes[0].buttons == fw::MB_YESNOCANCEL;
        doc()->SetModifiedFlag(false);
        return asked;
    };
    EXPECT_TRUE(closeAsks([this] { drag(QPoint(30, 30), QPoint(80, 60)); }));
    EXPECT_TRUE(closeAsks([this] { replaceText(IDC_X1, QStringLiteral("33")); }));
    EXPECT_TRUE(closeAsks([this] { replaceText(IDC_NAME, QStringLiteral("RENAMED")); }));
    EXPECT_TRUE(closeAsks([this] {
        select(0);
        deleteButton()->click();
    }));
    EXPECT_EQ(editor.log.boxes[0].text, QString::fromUtf8("Anderungen в Layout1 хранят?"));
}

TEST_F(PanelTest, AllWindowsOfADocumentFollowItsList)
{
    drag(QPoint(30, 30), QPoint(80, 60));
    CKarveloView_Controls* firstPanel = editor.panel();
    editor.frame().ExecuteCommand(fw::ID_WINDOW_NEW);
    CKarveloView_Controls* secondPanel = editor.panel();
    ASSERT_NE(firstPanel, secondPanel);

    // A control drawn in the first window shows in the second window's list too.
    editor.frame().MdiArea()->setActiveSubWindow(doc()->GetFrames()[0]);
    drag(QPoint(130, 30), QPoint(190, 70));
    EXPECT_EQ(firstPanel->m_listControls->count(), 2);
    EXPECT_EQ(secondPanel->m_listControls->count(), 2);

    // Deleting in one window leaves no stale row in the other to delete past the end.
    firstPanel->m_listControls->setCurrentRow(1);
    firstPanel->findChild<QPushButton*>(QString::number(IDC_DELETE))->click();
    EXPECT_EQ(secondPanel->m_listControls->count(), 1);
    secondPanel->m_listControls->setCurrentRow(0);
    secondPanel->findChild<QPushButton*>(QString::number(IDC_DELETE))->click();
    EXPECT_TRUE(controls().empty());
    EXPECT_EQ(firstPanel->m_listControls->count(), 0);
}
