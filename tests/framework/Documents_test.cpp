#include "support/TestApp.h"

#include <QMdiArea>
#include <QMenu>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace testing_support;

namespace {

class DocumentsTest : public ::testing::Test
{
protected:
    SettingsSandbox settings;
    TempDir files;
    MessageLog log;
    std::unique_ptr<TestApp> app = std::make_unique<TestApp>();
    void SetUp() override { ASSERT_TRUE(app->InitInstance()); }
    QString path(const char* name) const { return QString::fromStdString(files.file(name)); }
    std::vector<QString> titles() const
    {
        std::vector<QString> all;
        for (fw::Document* d : app->Documents())
            all.push_back(d->GetTitle());
        return all;
    }
};

} // namespace

TEST_F(DocumentsTest, UntitledNumbersRiseAndAreNeverReused)
{
    app->OnFileNew();
    app->OnFileNew();
    EXPECT_EQ(titles(), (std::vector<QString>{QStringLiteral("Layout1"), QStringLiteral("Layout2"),
                                              QStringLiteral("Layout3")}));
    app->ActiveDoc()->OnCloseDocument();
    processEvents();
    app->OnFileNew();
    EXPECT_EQ(titles().back(), QStringLiteral("Layout4"));
    EXPECT_EQ(app->Frame().MdiArea()->subWindowList().size(), 3);
}

TEST_F(DocumentsTest, TheSaveQuestionProtectsChanges)
{
    TestDoc* doc = app->ActiveDoc();
    ASSERT_NE(doc, nullptr);
    doc->text = QStringLiteral("unsaved");
    doc->SetModifiedFlag();
    EXPECT_TRUE(app->Frame().ActiveChild()->isWindowModified());

    // Cancel keeps the window, and stops Exit.
    log.answers = {fw::IDCANCEL};
    app->Frame().ActiveChild()->close();
    processEvents();
    EXPECT_EQ(app->Documents().size(), 1u);
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, QStringLiteral("Save changes to Layout1?"));
    EXPECT_EQ(log.boxes[0].buttons, fw::MB_YESNOCANCEL);
    EXPECT_EQ(log.boxes[0].caption, QStringLiteral("Tester"));
    log.answers = {fw::IDCANCEL};
    app->Frame().close();
    processEvents();
    EXPECT_TRUE(app->Frame().isVisible());
    EXPECT_EQ(app->Documents().size(), 1u);

    // Yes on an untitled document asks for a name; a cancelled dialog keeps the window.
    log.answers = {fw::IDYES};
    app->Frame().ExecuteCommand(fw::ID_FILE_CLOSE);
    processEvents();
    ASSERT_EQ(log.fileRequests.size(), 1u);
    EXPECT_TRUE(log.fileRequests[0].save);
    EXPECT_EQ(log.fileRequests[0].title, QStringLiteral("Save as"));
    EXPECT_EQ(log.fileRequests[0].filters,
              (QStringList{QStringLiteral("Text (*.txt)"), QStringLiteral("All files (*.*)")}));
    EXPECT_EQ(app->Documents().size(), 1u);

    log.answers = {fw::IDYES};
    log.files = {path("named")};
    app->Frame().ExecuteCommand(fw::ID_FILE_CLOSE);
    processEvents();
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_EQ(readFile(files.file("named.txt")), Bytes({'u', 'n', 's', 'a', 'v', 'e', 'd'}))
        << "extension added";

    // No closes without writing.
    app->OnFileNew();
    app->ActiveDoc()->SetModifiedFlag();
    log.answers = {fw::IDNO};
    app->Frame().ActiveChild()->close();
    processEvents();
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.path()), {}), 1);
}

TEST_F(DocumentsTest, SaveClearsTheModifiedMarkAndRetitles)
{
    TestDoc* doc = app->ActiveDoc();
    doc->SetModifiedFlag();
    log.files = {path("first.txt")};
    app->Frame().ExecuteCommand(fw::ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("first.txt"));
    EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("Tester - first.txt"));
    EXPECT_EQ(doc->saves, 1);
    app->Frame().ExecuteCommand(fw::ID_FILE_SAVE);
    EXPECT_EQ(doc->saves, 2);
    EXPECT_EQ(log.fileRequests.size(), 1u) << "a titled document saves without asking";
}

TEST_F(DocumentsTest, OpeningReportsTheCauseOfAFailure)
{
    EXPECT_EQ(app->OpenDocumentFile(path("missing.txt")), nullptr);
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, path("missing.txt") + QStringLiteral("\nnot found."));
    EXPECT_EQ(app->Documents().size(), 1u);

    writeFile(files.file("held.txt"), std::string("x"));
    const int fd = ::open(files.file("held.txt").c_str(), O_RDWR);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_EQ(app->OpenDocumentFile(path("held.txt")), nullptr);
    EXPECT_EQ(log.boxes.back().text, path("held.txt") + QStringLiteral(" is held by another."));
    ::close(fd);

    EXPECT_EQ(app->OpenDocumentFile(QString::fromStdString(files.path().string())), nullptr);
    EXPECT_EQ(log.boxes.back().text, QString::fromStdString(files.path().string()) +
                                         QStringLiteral(" could not be read."));
    EXPECT_EQ(app->Documents().size(), 1u);

    writeFile(files.file("fine.txt"), std::string("fine"));
    fw::Document* fine = app->OpenDocumentFile(path("fine.txt"));
    ASSERT_NE(fine, nullptr);
    EXPECT_EQ(static_cast<TestDoc*>(fine)->text, QStringLiteral("fine"));
    EXPECT_EQ(app->OpenDocumentFile(path("fine.txt")), fine)
        << "an open file is only brought forward";
}

namespace {
std::string numberedName(int i)
{
    return std::string(1, 'f').append(std::to_string(i)).append(".txt");
}
} // namespace

TEST_F(DocumentsTest, RecentFilesKeepEightMostRecentFirstAcrossRestarts)
{
    for (int i = 0; i < 10; ++i) {
        const std::string name = numberedName(i);
        writeFile(files.file(name), name);
        ASSERT_NE(app->OpenDocumentFile(QString::fromStdString(files.file(name))), nullptr);
    }
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << QString::fromStdString(files.file(numberedName(i)));
    EXPECT_EQ(app->RecentFiles()->Files(), expected);

    // The File menu shows them numbered in place of the placeholder.
    QMenu* file = app->Frame().MenuBarPopup(0);
    emit file->aboutToShow();
    QStringList shown;
    for (QAction* action : file->actions())
        if (action->isVisible() && action->text().startsWith(QLatin1Char('&')) &&
            action->text()[1].isDigit())
            shown << action->text();
    ASSERT_EQ(shown.size(), 8);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("f9.txt")));
    for (const QString& text : shown)
        EXPECT_LE(text.size() - 3, 30) << text.toStdString();

    app->ExitInstance();
    app.reset();
    processEvents();
    app = std::make_unique<TestApp>(QStringList{QStringLiteral("-dde")});
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->RecentFiles()->Files(), expected);

    // A missing file opened from the list is reported and leaves the list.
    std::filesystem::remove(files.file("f9.txt"));
    app->Frame().ExecuteCommand(fw::ID_FILE_MRU_FILE1);
    EXPECT_EQ(log.boxes.back().text, expected[0] + QStringLiteral("\nnot found."));
    EXPECT_EQ(app->RecentFiles()->Files(), expected.mid(1));
    EXPECT_TRUE(app->Documents().empty());
}

TEST(RecentFileNames, AbbreviationKeepsTheFileName)
{
    EXPECT_EQ(fw::RecentFileList::Abbreviate(QStringLiteral("/a/b.lay"), 30),
              QStringLiteral("/a/b.lay"));
    const QString shortened = fw::RecentFileList::Abbreviate(
        QStringLiteral("/home/user/projects/game/screens/main.lay"), 30);
    EXPECT_LE(shortened.size(), 30);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("/main.lay")));
    EXPECT_TRUE(shortened.contains(QStringLiteral("...")));
    EXPECT_EQ(
        fw::RecentFileList::Abbreviate(QStringLiteral("/x/") + QString(40, QLatin1Char('n')), 30),
        QString(40, QLatin1Char('n')));
}
