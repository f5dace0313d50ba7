#include "AppHarness.h"
#include "resources/Resource.h"
#include "shell/AboutDlg.h"
#include "support/LayoutBytes.h"
#include "support/LayoutRecords.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;

namespace {

QStringList popupTitles(const fw::MdiFrame& frame)
{
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

// Every item of the menu bar as "Popup/Item=id", separators as "Popup/-".
QStringList menuItems(const fw::MdiFrame& frame)
{
    QStringList items;
    for (QAction* popup : frame.menuBar()->actions()) {
        for (QAction* item : popup->menu()->actions()) {
            if (item->isSeparator())
                items << popup->text() + QStringLiteral("/-");
            else
                items << popup->text() + QLatin1Char('/') + item->text() + QLatin1Char('=') +
                             QString::number(item->data().toUInt()) +
                             (item->isEnabled() || item->data().isValid()
                                  ? QString()
                                  : QStringLiteral(" (disabled)"));
        }
    }
    return items;
}

} // namespace

TEST(EditorShell, StartsWithOneLayoutWindowMaximised)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    EXPECT_TRUE(editor.frame().windowState() & Qt::WindowMaximized);
    ASSERT_EQ(editor.app->Documents().size(), 1u);
    ASSERT_NE(editor.child(), nullptr);
    EXPECT_EQ(editor.doc()->GetTitle(), QStringLiteral("Layout1"));
    EXPECT_EQ(editor.frame().windowTitle(), QStringLiteral("Karvelo - Layout1"));
    ASSERT_NE(editor.panel(), nullptr);
    ASSERT_NE(editor.canvas(), nullptr);
    EXPECT_EQ(editor.doc()->m_panel, editor.panel());
    EXPECT_EQ(editor.doc()->m_canvas, editor.canvas());
    EXPECT_EQ(editor.child()->GetActiveView(), editor.panel()) << "the panel is active first";
    EXPECT_EQ(editor.frame().CurrentMenuId(), 1129u);
    EXPECT_EQ(popupTitles(editor.frame()),
              (QStringList{u("&Файл"), u("&Правка"), u("&Окно"), u("&Бланк"), u("&?")}));
    EXPECT_EQ(editor.child()->Splitter()->widget(0)->width(), CChildFrame::PANEL_WIDTH);

    editor.child()->close();
    processEvents();
    EXPECT_EQ(editor.frame().CurrentMenuId(), 1128u);
    EXPECT_EQ(popupTitles(editor.frame()), (QStringList{u("&Файл"), u("&Окно"), u("&?")}))
        << "no Edit popup";
}

TEST(EditorShell, ANewWindowBesideAMaximisedOneFillsTheAreaToo)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    editor.frame().resize(1200, 900);
    processEvents();
    editor.child()->showMaximized();
    processEvents();
    QMdiArea* area = editor.frame().MdiArea();
    editor.app->OnFileNew();
    processEvents();
    ASSERT_EQ(area->subWindowList().size(), 2);
    QMdiSubWindow* active = area->activeSubWindow();
    ASSERT_NE(active, nullptr);
    EXPECT_TRUE(active->isMaximized());
    EXPECT_EQ(active->geometry(), area->viewport()->rect()) << "not moved off by a cascade step";
    // Without a maximised window, new ones cascade.
    active->showNormal();
    for (QMdiSubWindow* window : area->subWindowList())
        window->showNormal();
    editor.app->OnFileNew();
    processEvents();
    ASSERT_EQ(area->subWindowList().size(), 3);
    EXPECT_FALSE(area->activeSubWindow()->isMaximized());
    EXPECT_GT(area->activeSubWindow()->pos().x(), 0);
}

TEST(EditorShell, MenusAcceleratorsAndToolbarCarryTheirIds)
{
    EditorFixture editor({QStringLiteral("-dde")});
    ASSERT_TRUE(editor.app->InitInstance());
    EXPECT_EQ(
        menuItems(editor.frame()),
        (QStringList{u("&Файл/&Новый\tStrg+N=57600"), u("&Файл/Открыть...\tStrg+O=57601"),
                     u("&Файл/-"), u("&Файл/Печать...=57606"), u("&Файл/-"),
                     u("&Файл/Прошлый файл=0 (disabled)"), u("&Файл/-"), u("&Файл/&Выход=57665"),
                     u("&Окно/Строка инструментов=59392"), u("&Окно/Строка состояния=59393"),
                     u("&?/Информация о программе=57664")}));
    editor.app->OnFileNew();
    EXPECT_EQ(menuItems(editor.frame()), (QStringList{u("&Файл/&Новый\tStrg+N=57600"),
                                                      u("&Файл/Открыть...\tStrg+O=57601"),
                                                      u("&Файл/&Закрыть=57602"),
                                                      u("&Файл/Сохранить\tStrg+S=57603"),
                                                      u("&Файл/Сохранить как...=57604"),
                                                      u("&Файл/-"),
                                                      u("&Файл/&Печать...\tStrg+P=57607"),
                                                      u("&Файл/Печать как...=57606"),
                                                      u("&Файл/-"),
                                                      u("&Файл/Прошлый файл=0 (disabled)"),
                                                      u("&Файл/-"),
                                                      u("&Файл/&Выход=57665"),
                                                      u("&Правка/&Шаг назад\tStrg+Z=57643"),
                                                      u("&Правка/-"),
                                                      u("&Правка/&Вырезать\tStrg+X=57635"),
                                                      u("&Правка/&Копировать\tStrg+C=57634"),
                                                      u("&Правка/Вставить\tStrg+V=57637"),
                                                      u("&Окно/&Строка инструментов=59392"),
                                                      u("&Окно/Строка состояния=59393"),
                                                      u("&Бланк/Новый бланк=57648"),
                                                      u("&Бланк/Упорядочить=57650"),
                                                      u("&Бланк/&На части экрана=57651"),
                                                      u("&Бланк/&Символы=57649"),
                                                      u("&?/Информация о программе=57664")}));

    QStringList keys;
    for (const auto id :
         {57600u, 57601u, 57603u, 57607u, 57643u, 57635u, 57634u, 57637u, 57680u, 57681u}) {
        QStringList sequences;
        for (const QKeySequence& sequence : editor.frame().Action(id)->shortcuts())
            sequences << sequence.toString(QKeySequence::PortableText);
        keys << QString::number(id) + QLatin1Char('=') + sequences.join(QLatin1Char(','));
    }
    EXPECT_EQ(keys, (QStringList{QStringLiteral("57600=Ctrl+N"), QStringLiteral("57601=Ctrl+O"),
                                 QStringLiteral("57603=Ctrl+S"), QStringLiteral("57607=Ctrl+P"),
                                 QStringLiteral("57643=Ctrl+Z,Alt+Backspace"),
                                 QStringLiteral("57635=Ctrl+X,Shift+Del"),
                                 QStringLiteral("57634=Ctrl+C,Ctrl+Ins"),
                                 QStringLiteral("57637=Ctrl+V,Shift+Ins"),
                                 QStringLiteral("57680=F6"), QStringLiteral("57681=Shift+F6")}));

    QStringList buttons;
    for (QAction* action : editor.frame().ToolBar()->actions())
        buttons << (action->isSeparator() ? QStringLiteral("0")
                                          : QString::number(action->data().toUInt()));
    EXPECT_EQ(buttons.join(QLatin1Char(' ')),
              QStringLiteral("57600 57601 57603 0 57635 57634 57637 0 57607 0 57664"));

    // Texts with accents and mixed scripts reach the actions exactly.
    EXPECT_EQ(editor.frame().Action(fw::ID_APP_EXIT)->statusTip(),
              u("Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen."));
    EXPECT_EQ(editor.frame().Action(fw::ID_APP_EXIT)->toolTip(), u("Beenden"));
    EXPECT_EQ(editor.frame().Action(fw::ID_NEXT_PANE)->statusTip(),
              u("Wechselt zum nächsten Fensterausschnitt."));
    EXPECT_EQ(editor.frame().Action(fw::ID_WINDOW_CASCADE)->toolTip(), u("Überlappende Fenster"));
}

TEST(EditorShell, ToolbarPromptsAndTooltips)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    QAction* cut = editor.frame().Action(fw::ID_EDIT_CUT);
    QAction* fileNew = editor.frame().Action(fw::ID_FILE_NEW);
    EXPECT_EQ(cut->statusTip(), u("Вырезать"));
    EXPECT_EQ(fileNew->statusTip(), u("Новый документ."));
    EXPECT_EQ(fileNew->toolTip(), u("Новый"));

    // Hovering the Cut button shows no tooltip at all (Qt would fall back to the text).
    auto* button = qobject_cast<QToolButton*>(editor.frame().ToolBar()->widgetForAction(cut));
    ASSERT_NE(button, nullptr);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    auto* newButton =
        qobject_cast<QToolButton*>(editor.frame().ToolBar()->widgetForAction(fileNew));
    QHelpEvent newHelp(QEvent::ToolTip, QPoint(2, 2), newButton->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(newButton, &newHelp);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), u("Новый"));
    QToolTip::hideText();

    // The idle text stands in the message pane.
    EXPECT_EQ(editor.frame().statusBar()->currentMessage(), u("Область"));
}

TEST(EditorShell, CommandsFollowTheActivePane)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    EXPECT_FALSE(editor.enabled(fw::ID_FILE_PRINT)) << "the panel is active in a fresh window";
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, QPoint(400, 300));
    processEvents();
    EXPECT_EQ(editor.child()->GetActiveView(), editor.canvas());
    EXPECT_TRUE(editor.enabled(fw::ID_FILE_PRINT));
    for (fw::CommandId id :
         {fw::ID_EDIT_UNDO, fw::ID_EDIT_CUT, fw::ID_EDIT_COPY, fw::ID_EDIT_PASTE})
        EXPECT_FALSE(editor.enabled(id)) << id;

    editor.frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(editor.child()->GetActiveView(), editor.panel());
    EXPECT_FALSE(editor.enabled(fw::ID_FILE_PRINT));
    editor.frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(editor.child()->GetActiveView(), editor.canvas());
    editor.frame().ExecuteCommand(fw::ID_PREV_PANE);
    editor.frame().ExecuteCommand(fw::ID_PREV_PANE);
    EXPECT_EQ(editor.child()->GetActiveView(), editor.canvas());
}

TEST(EditorShell, NewWindowSharesTheDocumentAndClosingItKeepsTheViewsReachable)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    CKarveloDoc* doc = editor.doc();
    CKarveloView* firstCanvas = editor.canvas();
    CKarveloView_Controls* firstPanel = editor.panel();
    editor.frame().ExecuteCommand(fw::ID_WINDOW_NEW);
    ASSERT_EQ(doc->GetFrames().size(), 2u);
    EXPECT_EQ(doc->GetFrames()[0]->windowTitle(), QStringLiteral("Layout1:1[*]"));
    EXPECT_EQ(doc->GetFrames()[1]->windowTitle(), QStringLiteral("Layout1:2[*]"));
    EXPECT_NE(doc->m_canvas, firstCanvas) << "the newer window's views take over";

    QMenu* windowMenu = editor.frame().MenuBarPopup(3);
    emit windowMenu->aboutToShow();
    QStringList listed;
    for (QAction* action : windowMenu->actions())
        if (action->text().startsWith(QLatin1Char('&')) && action->text()[1].isDigit())
            listed << action->text();
    EXPECT_EQ(listed,
              (QStringList{QStringLiteral("&1 Layout1:1"), QStringLiteral("&2 Layout1:2")}));

    doc->GetFrames()[1]->close();
    processEvents();
    ASSERT_EQ(doc->GetFrames().size(), 1u);
    EXPECT_EQ(doc->m_canvas, firstCanvas);
    EXPECT_EQ(doc->m_panel, firstPanel);
    // The remaining window's views serve the document: a drawn control reaches both.
    PaintCounter paints(firstCanvas);
    doc->m_newControl = box("AFTER", 10, 10, 60, 40);
    doc->AddNewControl();
    processEvents();
    EXPECT_GT(paints.paints, 0) << "the remaining canvas repaints";
    auto* name = firstPanel->findChild<QLineEdit*>(QString::number(resources::IDC_NAME));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("AFTER")) << "the remaining panel shows it";
}

TEST(EditorShell, PrintsTheCanvasToAFile)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("canvas.pdf"));
    fw::SetPrintDialogHandler([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    editor.child()->SetActiveView(editor.canvas());
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT);
    fw::SetPrintDialogHandler({});
    const Bytes bytes = readFile(pdf.toStdString());
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "%PDF-");
    EXPECT_TRUE(editor.log.boxes.empty());
}

TEST(EditorShell, FailedStartsEndTheProgram)
{
    TempDir dir;
    {
        EditorFixture editor({QString::fromStdString(dir.file("gone.lay"))});
        EXPECT_FALSE(editor.app->InitInstance());
        ASSERT_EQ(editor.log.boxes.size(), 1u);
        EXPECT_TRUE(
            editor.log.boxes[0].text.contains(u("Diese Datei konnte nicht gefunden werden.")));
        EXPECT_TRUE(editor.app->Documents().empty());
    }
    {
        writeFile(dir.file("a.lay"), LayoutBytes(2, 0).bytes);
        EditorFixture editor({QStringLiteral("-p"), QString::fromStdString(dir.file("a.lay"))});
        EXPECT_FALSE(editor.app->InitInstance()) << "printing from the command line always ends";
    }
    {
        EditorFixture editor({QStringLiteral("-Unregister")});
        EXPECT_FALSE(editor.app->InitInstance());
        ASSERT_EQ(editor.log.boxes.size(), 1u);
        EXPECT_EQ(editor.log.boxes[0].text,
                  u("Eintrage in der Systemregistrierung wurden entfernt, und die INI-Datai "
                    "(falls vorhanden) wurde geloscht."));
    }
}

TEST(EditorShell, AboutBoxTextsAndProportions)
{
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), u("Info uber Karvelo"));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    EXPECT_TRUE(texts.contains(u("Karvelo Version 1.0")));
    auto* ok = about.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    // Laid out in dialog units: the box is 227 by 80 of them, the button 50 by 14. A dialog
    // unit is a quarter of the font's average letter across and an eighth of its height.
    const QFontMetrics metrics(about.font());
    const double across = metrics.horizontalAdvance(QStringLiteral(
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                          52.0;
    const long letter = std::lround(across);
    const auto x = [letter](int units) {
        return static_cast<int>(std::lround(units * letter / 4.0));
    };
    const auto y = [&metrics](int units) {
        return static_cast<int>(std::lround(units * metrics.height() / 8.0));
    };
    ASSERT_GT(letter, 2);
    EXPECT_EQ(about.size(), QSize(x(227), y(80)));
    EXPECT_EQ(ok->geometry(), QRect(x(95), y(63), x(50), y(14)));
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(EditorShell, TheBarsHideAndShowWithTheirCheckMarks)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    QAction* toolbar = editor.frame().Action(fw::ID_VIEW_TOOLBAR);
    editor.frame().UpdateCommandUI();
    EXPECT_TRUE(toolbar->isChecked());
    editor.frame().ExecuteCommand(fw::ID_VIEW_TOOLBAR);
    editor.frame().UpdateCommandUI();
    EXPECT_TRUE(editor.frame().ToolBar()->isHidden());
    EXPECT_FALSE(toolbar->isChecked());
    editor.frame().ExecuteCommand(fw::ID_VIEW_STATUS_BAR);
    editor.frame().UpdateCommandUI();
    EXPECT_TRUE(editor.frame().statusBar()->isHidden());
    EXPECT_FALSE(editor.frame().Action(fw::ID_VIEW_STATUS_BAR)->isChecked());
    editor.frame().ExecuteCommand(fw::ID_VIEW_TOOLBAR);
    editor.frame().UpdateCommandUI();
    EXPECT_FALSE(editor.frame().ToolBar()->isHidden());
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_EQ(editor.frame().toolBarArea(editor.frame().ToolBar()), Qt::TopToolBarArea);
}
