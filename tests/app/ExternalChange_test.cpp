// A layout's file changed, replaced or deleted by another program while the layout is open.
#include "AppHarness.h"
#include "LayoutFile.h"
#include "MdiFrame.h"
#include "document/ExternalChange.h"
#include "resources/Resource.h"
#include "support/LayoutBytes.h"

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace testing_support;

namespace {

const Bytes TWO = LayoutBytes(2, 2)
                      .record(1, "OLD_A", 0, 0, 1.5f, 2, 30, 40)
                      .record(2, "OLD_B", 0, 0, 50, 60, 70, 80)
                      .bytes;
const Bytes THREE = LayoutBytes(2, 3)
                        .record(7, "NEW_A", 1, 2, 10, 20, 30, 40)
                        .record(8, "NEW_B", 0, 0, 100, 200, 300, 400)
                        .record(9, "NEW_C", 0, 0, 0.25f, 0.5f, 700, 500)
                        .bytes;

std::vector<std::string> names(const CKarveloDoc* doc)
{
    std::vector<std::string> all;
    for (const LayoutControl& control : doc->m_layout.m_controls)
        all.push_back(control.m_name);
    return all;
}

const std::vector<std::string> OLD_NAMES = {"OLD_A", "OLD_B"};
const std::vector<std::string> NEW_NAMES = {"NEW_A", "NEW_B", "NEW_C"};

class ExternalChangeTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(editor.app->InitInstance()); }

    TempDir files;
    EditorFixture editor{{QStringLiteral("-dde")}};
    MessageLog& log = editor.log;

    QString path(const std::string& name) const { return QString::fromStdString(files.file(name)); }
    CKarveloDoc* openTwo()
    {
        writeFile(files.file("a.lay"), TWO);
        return static_cast<CKarveloDoc*>(editor.app->OpenDocumentFile(path("a.lay")));
    }
    // Another program writes a new file and renames it over ours.
    void renameOver(const Bytes& bytes)
    {
        writeFile(files.file("a.lay.new"), bytes);
        std::filesystem::rename(files.file("a.lay.new"), files.file("a.lay"));
    }
    void rename(CKarveloDoc* doc, const char* name)
    {
        LayoutControl record = doc->m_layout.m_controls[0];
        record.m_name = name;
        doc->Model().ChangeControl(nullptr, 0, record, QStringLiteral("Umbenennen"), 1);
    }
    QString status() const { return editor.frame().statusBar()->currentMessage(); }
};

} // namespace

TEST_F(ExternalChangeTest, AnUnmodifiedLayoutReloadsAsOneStepThatUndoTakesBack)
{
    CKarveloDoc* doc = openTwo();
    ASSERT_NE(doc, nullptr);
    rename(doc, "MINE");
    rename(doc, "MINE_TOO");
    ASSERT_TRUE(doc->DoFileSave());
    const int earlierSteps = doc->UndoStack()->count();

    // Rewritten in place: same inode, the size tells.
    writeFile(files.file("a.lay"), THREE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(doc) == NEW_NAMES; }, 3000))
        << "the window shows the new controls";
    EXPECT_FALSE(doc->IsModified()) << "the window holds the file";
    EXPECT_EQ(doc->UndoStack()->count(), earlierSteps + 1) << "the history keeps every step";
    EXPECT_EQ(doc->UndoStack()->undoText(), u("Neu geladen"));
    EXPECT_TRUE(log.boxes.empty()) << "nothing to ask";
    const QString reloaded =
        u("Die Datei %1 wurde von einem anderen Programm geändert und neu geladen.")
            .arg(path("a.lay"));
    EXPECT_EQ(status(), reloaded);
    EXPECT_EQ(doc->m_layout.m_controls[2].m_x1, 0.25f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() != reloaded; },
                                fw::MdiFrame::NOTICE_MILLISECONDS + 2000))
        << "the notice goes by itself";

    doc->UndoStack()->undo();
    EXPECT_EQ(names(doc), (std::vector<std::string>{"MINE_TOO", "OLD_B"}));
    EXPECT_TRUE(doc->IsModified()) << "the file holds something else now";
    doc->UndoStack()->redo();
    EXPECT_FALSE(doc->IsModified());

    // A rename-over: a new inode under the old name, which the folder's watch sees.
    renameOver(TWO);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(doc) == OLD_NAMES; }, 3000));
    EXPECT_EQ(doc->UndoStack()->count(), earlierSteps + 2);
    // Watched again after the rename: a second rewrite is seen too.
    writeFile(files.file("a.lay"), THREE);
    EXPECT_TRUE(QTest::qWaitFor([&] { return names(doc) == NEW_NAMES; }, 3000));
    EXPECT_EQ(status(), reloaded);
    editor.frame().ExecuteCommand(fw::ID_FILE_NEW);
    EXPECT_NE(status(), reloaded) << "the next command takes the notice away";
}

TEST_F(ExternalChangeTest, OurOwnSavesAndUnchangedRecordsAreNoChange)
{
    CKarveloDoc* doc = openTwo();
    rename(doc, "MINE");
    ASSERT_TRUE(doc->DoFileSave());
    rename(doc, "MINE_AGAIN");
    ASSERT_TRUE(doc->DoFileSave());
    // Edited on at once: the notices of our save come while the window differs from it.
    rename(doc, "EDITED_ON");
    const int steps = doc->UndoStack()->count();
    QTest::qWait(800);
    EXPECT_EQ(doc->UndoStack()->count(), steps) << "no reload of what we wrote";
    EXPECT_TRUE(log.boxes.empty()) << "nothing to ask either";
    EXPECT_EQ(doc->m_layout.m_controls[0].m_name, "EDITED_ON");
    doc->UndoStack()->undo();
    ASSERT_FALSE(doc->IsModified());

    // Touched, or written with the same records: nothing to reload.
    writeFile(files.file("a.lay"), readFile(files.file("a.lay")));
    QTest::qWait(800);
    EXPECT_EQ(doc->UndoStack()->count(), steps);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(log.boxes.empty());
}

TEST_F(ExternalChangeTest, AModifiedLayoutAsksAndEachAnswerDoesWhatItSays)
{
    CKarveloDoc* doc = openTwo();
    rename(doc, "MINE");

    // No: mine stay, and the next save asks before it replaces the other program's file.
    log.answers = {fw::IDNO};
    writeFile(files.file("a.lay"), THREE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.boxes.empty(); }, 3000));
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].buttons, fw::MB_YESNO);
    EXPECT_TRUE(log.boxes[0].text.contains(path("a.lay")));
    EXPECT_TRUE(log.boxes[0].text.contains(u("neu laden")));
    EXPECT_EQ(names(doc), (std::vector<std::string>{"MINE", "OLD_B"}));
    EXPECT_TRUE(doc->IsModified());
    QTest::qWait(500);
    EXPECT_EQ(log.boxes.size(), 1u) << "asked once for one change";

    log.answers = {fw::IDNO};
    EXPECT_FALSE(doc->DoFileSave()) << "the user kept the other program's file";
    ASSERT_EQ(log.boxes.size(), 2u);
    EXPECT_TRUE(log.boxes[1].text.contains(u("ersetzen")));
    EXPECT_EQ(readFile(files.file("a.lay")), THREE);
    log.answers = {fw::IDYES};
    EXPECT_TRUE(doc->DoFileSave()) << "asked again, and now replaced";
    EXPECT_EQ(log.boxes.size(), 3u);
    LayoutDataObject saved;
    ASSERT_GE(LoadLayoutFile(saved, files.file("a.lay").c_str()), 0);
    EXPECT_EQ(saved.m_controls[0].m_name, "MINE");
    EXPECT_FALSE(doc->IsModified());
    rename(doc, "MINE_AGAIN");
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_EQ(log.boxes.size(), 3u) << "once replaced, saves go on without a question";

    // Yes: the other program's version comes in, and Undo brings mine back.
    rename(doc, "UNSAVED");
    log.answers = {fw::IDYES};
    renameOver(THREE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(doc) == NEW_NAMES; }, 3000));
    EXPECT_EQ(log.boxes.size(), 4u);
    EXPECT_FALSE(doc->IsModified());
    doc->UndoStack()->undo();
    EXPECT_EQ(names(doc), (std::vector<std::string>{"UNSAVED", "OLD_B"}));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ExternalChangeTest, ADeletedOrMovedFileMakesTheLayoutModified)
{
    CKarveloDoc* doc = openTwo();
    ASSERT_FALSE(doc->IsModified());
    std::filesystem::rename(files.file("a.lay"), files.file("elsewhere.lay"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->IsModified(); }, 3000));
    EXPECT_EQ(status(),
              u("Die Datei %1 wurde gelöscht oder verschoben. Speichern legt sie wieder an.")
                  .arg(path("a.lay")));
    EXPECT_TRUE(log.boxes.empty()) << "told in the status bar";
    EXPECT_EQ(names(doc), OLD_NAMES) << "the window keeps what it shows";

    // Back again as it was: nothing is lost, so the mark goes.
    std::filesystem::rename(files.file("elsewhere.lay"), files.file("a.lay"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc->IsModified(); }, 3000));
    EXPECT_TRUE(log.boxes.empty());

    std::filesystem::remove(files.file("a.lay"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->IsModified(); }, 3000));
    doc->UndoStack()->undo(); // nothing to undo: the mark stays
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(doc->DoFileSave()) << "Save writes the file again, without asking";
    EXPECT_TRUE(log.boxes.empty());
    EXPECT_EQ(readFile(files.file("a.lay")), TWO);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ExternalChangeTest, AHalfWrittenFileIsTriedAgainThenToldOnce)
{
    CKarveloDoc* doc = openTwo();
    QAction* undo = editor.frame().Action(resources::ID_LAYOUT_UNDO);
    processEvents();
    ASSERT_FALSE(undo->isEnabled());
    // Half of the file now, the rest a moment later: the retry reads the whole.
    writeFile(files.file("a.lay"), Bytes(THREE.begin(), THREE.begin() + 40));
    QTest::qWait(400);
    EXPECT_EQ(names(doc), OLD_NAMES);
    writeFile(files.file("a.lay"), THREE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(doc) == NEW_NAMES; }, 3000));
    EXPECT_TRUE(log.boxes.empty()) << "a write in progress is no error";
    processEvents();
    EXPECT_TRUE(undo->isEnabled()) << "the button follows a step that came without a click";

    // Never completed: told once after the retries, and the window keeps its records.
    QElapsedTimer clock;
    clock.start();
    writeFile(files.file("a.lay"), Bytes(TWO.begin(), TWO.begin() + 30));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.boxes.empty(); }, 5000));
    EXPECT_GE(clock.elapsed(), CExternalChange::RETRIES * CExternalChange::RETRY_MS)
        << "tried again before telling";
    EXPECT_EQ(log.boxes[0].icon, fw::MB_ICONWARNING);
    EXPECT_TRUE(log.boxes[0].text.contains(u("kann nicht als Layout gelesen werden")));
    EXPECT_EQ(names(doc), NEW_NAMES);
    EXPECT_FALSE(doc->IsModified());
    QTest::qWait(2500);
    EXPECT_EQ(log.boxes.size(), 1u) << "said once";
    // The file on disk is not what the window shows: a save asks first.
    log.answers = {fw::IDNO};
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(log.boxes.size(), 2u);
}

TEST_F(ExternalChangeTest, ChangesWhileABoxIsOpenWaitForIt)
{
    CKarveloDoc* doc = openTwo();
    // The box stays open as a real one does, running the event loop, while the other program
    // goes on writing a file that does not read either.
    int open = 0;
    int deepest = 0;
    std::vector<QString> texts;
    fw::SetMessageBoxHandler([&](const fw::MessageRequest& request) {
        texts.push_back(request.text);
        deepest = std::max(deepest, ++open);
        if (texts.size() == 1) {
            writeFile(files.file("a.lay"), Bytes(THREE.begin(), THREE.begin() + 50));
            QTest::qWait(2500);
        }
        --open;
        return int{fw::IDOK};
    });
    writeFile(files.file("a.lay"), Bytes(TWO.begin(), TWO.begin() + 30));
    ASSERT_TRUE(QTest::qWaitFor([&] { return texts.size() == 2; }, 8000))
        << "the state written meanwhile is told after the box closed";
    EXPECT_EQ(deepest, 1) << "never a box on top of a box";
    EXPECT_EQ(names(doc), OLD_NAMES);

    // The file reads again: it comes in as usual.
    writeFile(files.file("a.lay"), THREE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(doc) == NEW_NAMES; }, 3000));
    EXPECT_EQ(texts.size(), 2u);
}
