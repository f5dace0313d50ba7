// The editor's file dialogs, the recent-file menu and the shell's window texts, on the real
// application.
#include "AppHarness.h"
#include "support/LayoutBytes.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The editor in a folder of its own, with Qt's own file dialog instead of the test seam.
class RealDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(dirPath());
        ASSERT_TRUE(editor.app->InitInstance());
        fw::SetFileDialogHandler({});
    }
    void TearDown() override { QDir::setCurrent(m_oldCurrent); }

    QString dirPath() const { return QString::fromStdString(dir.path().string()); }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    TempDir dir;
    EditorFixture editor{{QStringLiteral("-dde")}};

private:
    QString m_oldCurrent;
};

QLineEdit* nameEdit(QWidget* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

} // namespace

TEST_F(RealDialogTest, SaveAsAddsTheSuffixBeforeItAsksAboutReplacing)
{
    const Bytes old = LayoutBytes(2, 1).record(7, "KEEP", 0, 0, 1, 2, 3, 4).bytes;
    writeFile(dir.file("Layout1.lay"), old);
    editor.app->OnFileNew();

    QString question;
    for (const int answer : {QMessageBox::No, QMessageBox::Yes}) {
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("lay"));
            EXPECT_EQ(nameEdit(dialog)->text(), QStringLiteral("Layout1")) << "proposed name";
            whenModal(
                [&, dialog](QWidget* box) {
                    question = static_cast<QMessageBox*>(box)->text();
                    static_cast<QMessageBox*>(box)
                        ->button(static_cast<QMessageBox::StandardButton>(answer))
                        ->click();
                    if (answer == QMessageBox::No)
                        QTimer::singleShot(0, dialog, &QDialog::reject);
                },
                dialog);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        editor.frame().ExecuteCommand(fw::ID_FILE_SAVE_AS);
        EXPECT_TRUE(question.contains(QStringLiteral("Layout1.lay"))) << question.toStdString();
        if (answer == QMessageBox::No) {
            EXPECT_EQ(readFile(dir.file("Layout1.lay")), old) << "not replaced without a yes";
            EXPECT_TRUE(editor.doc()->GetPathName().isEmpty());
        }
    }
    EXPECT_EQ(readFile(dir.file("Layout1.lay")), LayoutBytes(2, 0).bytes);
    EXPECT_EQ(editor.doc()->GetPathName(), path("Layout1.lay"));
}

TEST_F(RealDialogTest, OpenTakesANameWithoutSuffixAndAllFilesMeansEveryFile)
{
    writeFile(dir.file("foo.lay"), LayoutBytes(2, 1).record(1, "FOO", 0, 0, 1, 2, 3, 4).bytes);
    writeFile(dir.file("README"), std::string("no dot in this name"));

    QStringList listedWithAllFiles;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_TRUE(types && model);
        ASSERT_EQ(types->count(), 2);
        EXPECT_EQ(types->itemText(1), u("Все файлы (*.*)"));
        types->setCurrentIndex(1);
        emit types->activated(1);
        emit types->textActivated(types->itemText(1));
        const QModelIndex folder = model->index(dirPath());
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) >= 2; }, 5000));
        for (int row = 0; row < model->rowCount(folder); ++row)
            listedWithAllFiles << model->index(row, 0, folder).data().toString();
        nameEdit(dialog)->setText(QStringLiteral("foo"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    editor.frame().ExecuteCommand(fw::ID_FILE_OPEN);
    listedWithAllFiles.sort();
    EXPECT_EQ(listedWithAllFiles,
              (QStringList{QStringLiteral("README"), QStringLiteral("foo.lay")}));
    ASSERT_NE(editor.doc(), nullptr);
    EXPECT_EQ(editor.doc()->GetPathName(), path("foo.lay"));
    ASSERT_EQ(editor.doc()->m_layout.m_controls.size(), 1u);
    EXPECT_TRUE(editor.log.boxes.empty());
}

TEST(RecentFiles, TheFileMenuOpensAgainAndAgainWithEightFiles)
{
    EditorFixture editor{{QStringLiteral("-dde")}};
    ASSERT_TRUE(editor.app->InitInstance());
    TempDir dir;
    QStringList paths;
    for (int i = 1; i <= 9; ++i) {
        const std::string name = "file" + std::to_string(i) + ".lay";
        writeFile(dir.file(name), LayoutBytes(2, 0).bytes);
        paths.prepend(QString::fromStdString(dir.file(name)));
        editor.app->AddToRecentFileList(paths.front());
    }
    paths.removeLast(); // the oldest of nine has dropped out

    auto openFileMenu = [&] {
        QMenu* file = editor.frame().MenuBarPopup(0);
        file->popup(QPoint(10, 10));
        processEvents();
        QStringList recent;
        for (QAction* action : file->actions())
            if (action->text().startsWith(QLatin1Char('&')) && action->text()[1].isDigit())
                recent << action->text();
        file->hide();
        processEvents();
        return recent;
    };
    for (int round = 0; round < 5; ++round)
        EXPECT_EQ(openFileMenu().size(), 8) << round;

    // Opening a file from the list switches the menus while the entry's signal runs.
    QMenu* file = editor.frame().MenuBarPopup(0);
    file->popup(QPoint(10, 10));
    processEvents();
    QAction* third = nullptr;
    for (QAction* action : file->actions())
        if (action->text().startsWith(QStringLiteral("&3 ")))
            third = action;
    ASSERT_NE(third, nullptr);
    third->trigger();
    file->hide();
    processEvents();
    ASSERT_NE(editor.doc(), nullptr);
    EXPECT_EQ(editor.doc()->GetPathName(), paths[2]);
    for (int round = 0; round < 5; ++round) {
        const QStringList recent = openFileMenu();
        ASSERT_EQ(recent.size(), 8) << round;
        EXPECT_TRUE(recent[0].endsWith(QStringLiteral("file7.lay"))) << "the opened file first";
    }

    // The profile keeps them under the names the settings have always used.
    editor.app->ExitInstance();
    QSettings& profile = editor.app->Profile();
    paths.move(2, 0);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(profile.value(QStringLiteral("Recent File List/File%1").arg(i)).toString(),
                  paths[i - 1])
            << i;
    EXPECT_FALSE(profile.contains(QStringLiteral("Recent File List/File9")));
    EXPECT_EQ(profile.organizationName(), QStringLiteral("Local AppWizard-Generated Applications"));
    EXPECT_EQ(profile.applicationName(), QStringLiteral("Karvelo"));
}

TEST(ShellTexts, TitlesPromptsAndALoneDash)
{
    EditorFixture editor{{QStringLiteral("-")}};
    ASSERT_TRUE(editor.app->InitInstance()) << "a lone - asks for nothing: File New";
    EXPECT_TRUE(editor.log.boxes.empty());
    ASSERT_EQ(editor.app->Documents().size(), 1u);

    editor.frame().ExecuteCommand(fw::ID_WINDOW_NEW);
    EXPECT_EQ(editor.child()->windowTitle(), QStringLiteral("Layout1:2[*]"));
    EXPECT_EQ(editor.frame().windowTitle(), QStringLiteral("Karvelo - Layout1"));

    // The child's system menu and the window list prompt in the message pane.
    QMenu* system = editor.child()->systemMenu();
    ASSERT_NE(system, nullptr);
    QStringList prompts;
    for (QAction* action : system->actions())
        if (!action->statusTip().isEmpty())
            prompts << action->statusTip();
    EXPECT_EQ(prompts,
              (QStringList{u("Если окно восстанавливает в его нормальном Groe."),
                           u("Andert позиция окна."), u("Andert die Fenstergro?e."),
                           u("Если окно уменьшает к символу."), u("Vergroert окно к полным Groe."),
                           u("Schliet активное окно и просит о хранении документа.")}));
    QStatusTipEvent tip(prompts[1]);
    QCoreApplication::sendEvent(system, &tip);
    EXPECT_EQ(editor.frame().statusBar()->currentMessage(), prompts[1]);

    QMenu* windows = editor.frame().MenuBarPopup(3);
    emit windows->aboutToShow();
    emit windows->aboutToShow();
    int listed = 0;
    for (QAction* action : windows->actions()) {
        if (action->isCheckable()) {
            ++listed;
            EXPECT_EQ(action->statusTip(), u("Если это окно активирует."));
        }
    }
    EXPECT_EQ(listed, 2) << "filling the list again replaces the entries";
}

TEST(ShellTexts, ANarrowWindowGivesThePanelEverything)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance());
    QSplitter* splitter = editor.child()->Splitter();
    auto resizeSplitter = [&](int width) {
        editor.child()->resize(editor.child()->width() - splitter->width() + width, 400);
        processEvents();
        ASSERT_EQ(splitter->width(), width);
    };
    resizeSplitter(150);
    EXPECT_EQ(splitter->widget(0)->width(), 150);
    EXPECT_FALSE(splitter->handle(1)->isVisible()) << "no bar in a window this narrow";
    EXPECT_FALSE(editor.canvas()->isVisible());

    resizeSplitter(500);
    EXPECT_EQ(splitter->widget(0)->width(), CChildFrame::PANEL_WIDTH);
    EXPECT_TRUE(splitter->handle(1)->isVisible());
    EXPECT_EQ(editor.canvas()->width(), 500 - CChildFrame::PANEL_WIDTH - splitter->handleWidth());
}
