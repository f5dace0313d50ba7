#include "DocumentFixture.h"
#include "support/LayoutBytes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;

namespace {

const QString LOAD_FAILED = QString::fromUtf8("Die Datei konnte nicht geladen werden!");
const QString SAVE_FAILED = QString::fromUtf8("Die Datei konnte nicht gespeichert werden!");

class LayoutDocumentTest : public DocumentFixture
{
protected:
    static LayoutBytes three()
    {
        LayoutBytes bytes(2, 3);
        bytes.record(0, "A", 0, 0, 1, 2, 3, 4)
            .record(1, "B", 0, 0, 5, 6, 7, 8)
            .record(2, "C", 0, 0, 9, 10, 11, 12);
        return bytes;
    }
};

} // namespace

TEST_F(LayoutDocumentTest, OpeningMakesTheFirstControlCurrent)
{
    writeFile(files.file("three.lay"), three().bytes);
    CKarveloDoc* doc = open("three.lay");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_layout.m_controls.size(), 3u);
    EXPECT_EQ(doc->m_currentControl, &doc->m_layout.m_controls[0]);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("three.lay"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(log.boxes.empty());

    writeFile(files.file("empty.lay"), LayoutBytes(2, 0).bytes);
    CKarveloDoc* empty = open("empty.lay");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->m_currentControl, nullptr);
}

TEST_F(LayoutDocumentTest, BrokenFilesOpenWithWhatWasReadAndOneMessage)
{
    const LayoutBytes full = three();
    writeFile(files.file("cut.lay"), Bytes(full.bytes.begin(), full.bytes.end() - 3));
    CKarveloDoc* doc = open("cut.lay");
    ASSERT_NE(doc, nullptr) << "the window opens all the same";
    EXPECT_EQ(log.texts(), std::vector<QString>{LOAD_FAILED});
    EXPECT_EQ(log.boxes.back().details,
              QStringLiteral("Datei: %1\nGrund: Die Datei ist abgeschnitten oder kein Layout.")
                  .arg(path("cut.lay")))
        << "below the message: which file, and why";
    EXPECT_EQ(doc->m_layout.m_controls.size(), 2u);
    EXPECT_EQ(doc->m_currentControl, nullptr);

    writeFile(files.file("v3.lay"), LayoutBytes(3, 0).bytes);
    ASSERT_NE(open("v3.lay"), nullptr);
    EXPECT_EQ(log.texts().size(), 2u) << "an unknown version is reported like any broken file";
    EXPECT_EQ(log.texts().back(), LOAD_FAILED);
    EXPECT_TRUE(log.boxes.back().details.endsWith(QStringLiteral("keine Layoutdatei (Version 3)")))
        << log.boxes.back().details.toStdString();

    EXPECT_EQ(open("missing.lay"), nullptr) << "no window for a missing file";
    ASSERT_EQ(log.texts().size(), 3u);
    EXPECT_EQ(log.texts().back(), path("missing.lay") + QStringLiteral("\nnot found."));
}

TEST_F(LayoutDocumentTest, AddNewControlAppendsACopyAndMarksTheChange)
{
    CKarveloDoc* doc = newDocument();
    doc->m_newControl.m_name = "UNBENANNT0";
    doc->m_newControl.m_x2 = 5;
    doc->AddNewControl();
    doc->m_newControl.m_name = "CHANGED";
    ASSERT_EQ(doc->m_layout.m_controls.size(), 1u);
    EXPECT_EQ(doc->m_currentControl, &doc->m_layout.m_controls[0]);
    EXPECT_EQ(doc->m_layout.m_controls[0].m_name, "UNBENANNT0");
    EXPECT_EQ(doc->m_layout.m_controls[0].m_guiResourceId, 0u);
    EXPECT_EQ(doc->m_layout.m_controls[0].m_textId, 0u);
    EXPECT_TRUE(doc->IsModified());
    doc->AddNewControl();
    EXPECT_EQ(doc->m_currentControl, &doc->m_layout.m_controls[1]);
}

TEST_F(LayoutDocumentTest, FailedSavesTellTheUserAndKeepTheDocument)
{
    CKarveloDoc* doc = newDocument();
    doc->AddNewControl();
    EXPECT_FALSE(doc->DoSave(path("no/folder/x.lay")));
    EXPECT_EQ(log.texts(), std::vector<QString>{SAVE_FAILED});
    EXPECT_EQ(
        log.boxes.back().details,
        QStringLiteral("Datei: %1\nGrund: No such file or directory").arg(path("no/folder/x.lay")));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Layout1"));

    std::filesystem::create_directory(files.file("dir.lay"));
    EXPECT_FALSE(doc->DoSave(path("dir.lay")));
    EXPECT_EQ(log.texts().size(), 2u);

    ASSERT_TRUE(doc->DoSave(path("good.lay")));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path("good.lay"));
    EXPECT_EQ(readFile(files.file("good.lay")).size(), 24u + 29u);
}

TEST_F(LayoutDocumentTest, SavesFollowLinksAndKeepPermissions)
{
    writeFile(files.file("real.lay"), three().bytes);
    ::chmod(files.file("real.lay").c_str(), 0640);
    ASSERT_EQ(::symlink("real.lay", files.file("link.lay").c_str()), 0);
    CKarveloDoc* doc = open("link.lay");
    ASSERT_NE(doc, nullptr);
    doc->m_layout.m_controls.pop_back();
    doc->m_currentControl = nullptr;
    ASSERT_TRUE(doc->DoFileSave());
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(files.file("link.lay").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(files.file("real.lay").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(files.file("real.lay")).size(), 24u + 2 * 30u);
}

TEST_F(LayoutDocumentTest, TheFirstSaveAfterAFailedLoadAsksForTheName)
{
    const LayoutBytes full = three();
    const Bytes cut(full.bytes.begin(), full.bytes.end() - 3);
    writeFile(files.file("cut.lay"), cut);
    CKarveloDoc* doc = open("cut.lay");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_layout.m_controls.size(), 2u);

    EXPECT_FALSE(doc->DoFileSave()) << "the user cancelled the dialog";
    ASSERT_EQ(log.fileRequests.size(), 1u);
    EXPECT_TRUE(log.fileRequests[0].save);
    EXPECT_EQ(log.fileRequests[0].proposedName, QStringLiteral("cut.lay"));
    EXPECT_EQ(readFile(files.file("cut.lay")), cut) << "the damaged file is still all there";

    log.files = {path("cut.lay")};
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(readFile(files.file("cut.lay")).size(), 24u + 2 * 30u);
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(log.fileRequests.size(), 2u) << "later saves are ordinary";

    writeFile(files.file("good.lay"), full.bytes);
    ASSERT_TRUE(open("good.lay")->DoFileSave());
    EXPECT_EQ(log.fileRequests.size(), 2u) << "a file that loaded is saved without a question";
}

TEST_F(LayoutDocumentTest, OnlyRegularFilesOpen)
{
    ASSERT_EQ(::mkfifo(files.file("pipe.lay").c_str(), 0600), 0);
    ::alarm(30); // a reader that blocks on the pipe would hang here for good
    EXPECT_EQ(open("pipe.lay"), nullptr);
    ::alarm(0);
    EXPECT_EQ(app.OpenDocumentFile(QStringLiteral("/dev/null")), nullptr);
    std::filesystem::create_directory(files.file("folder.lay"));
    EXPECT_EQ(open("folder.lay"), nullptr);
    EXPECT_EQ(log.boxes.size(), 3u) << "each refusal is told";
    EXPECT_TRUE(app.Documents().empty());
}
