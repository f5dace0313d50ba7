// Recovery where things go wrong: a disk that refuses the copy, a run killed between the
// files of a copy or between a save and the copy's removal, strange files in the folder, and
// the windows and titles a restore at the start leaves.
#include "RecoveryFixture.h"

#include <QElapsedTimer>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testing_support;

namespace {

// Files of this process grow to limit bytes at most while it lives: a disk that fills up.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit lower{limit, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_signal)(int);
};

QProcessEnvironment childEnvironment(const QByteArray& home, const QString& file,
                                     const char* moment)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KARVELO_CHILD_HOME"), QString::fromLocal8Bit(home));
    environment.insert(QStringLiteral("KARVELO_CHILD_FILE"), file);
    environment.insert(QStringLiteral("KARVELO_CHILD_MOMENT"), QString::fromLatin1(moment));
    return environment;
}

std::vector<LayoutControl> plus(std::vector<LayoutControl> controls, const LayoutControl& more)
{
    controls.push_back(more);
    return controls;
}

} // namespace

TEST(RecoveryFaults, AWriteTheDiskRefusesIsToldOnceAndTheLastGoodCopyStays)
{
    TempDir files;
    writeFile(files.file("a.lay"), TWO);
    EditorFixture editor{{QString::fromStdString(files.file("a.lay"))}};
    start(editor, {}, 60); // copies only when the test asks
    const QString folder = CRecovery::DefaultFolder();
    CKarveloDoc* doc = editor.doc();
    rename(doc, "GOOD");
    ASSERT_TRUE(doc->Recovery()->WriteNow());
    const fw::RecoveryEntry entry = doc->Recovery()->Entry();
    const Bytes record = readFile(entry.recordPath.toStdString());
    const Bytes copy = readFile(entry.payloadPath.toStdString());
    const QStringList before = filesIn(folder);
    QStatusBar* bar = editor.frame().statusBar();
    bar->clearMessage();

    // Room for a copy but not for its longer record, then for nothing.
    for (const rlim_t limit : {static_cast<rlim_t>(copy.size() + 8), rlim_t{16}}) {
        SCOPED_TRACE(limit);
        rename(doc, limit > 16 ? "LOST" : "LOST_AGAIN");
        bool written = true;
        {
            const FileSizeLimit full(limit);
            written = doc->Recovery()->WriteNow();
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(readFile(entry.recordPath.toStdString()), record) << "the last good record";
        EXPECT_EQ(readFile(entry.payloadPath.toStdString()), copy) << "and its copy stay";
        EXPECT_EQ(filesIn(folder), before) << "nothing half-written beside them";
        if (limit > 16) {
            EXPECT_TRUE(bar->currentMessage().contains(QDir::toNativeSeparators(folder)))
                << bar->currentMessage().toStdString();
            EXPECT_TRUE(bar->currentMessage().contains(u("File too large")));
            bar->clearMessage();
        } else {
            EXPECT_FALSE(bar->currentMessage().contains(QDir::toNativeSeparators(folder)))
                << "told once";
        }
    }
    EXPECT_TRUE(doc->Recovery()->WriteNow()) << "room again";
    EXPECT_EQ(load(entry.payloadPath).at(0).m_name, "LOST_AGAIN");
}

// Run by the tests below in a process of its own: edits the file, and dies at the moment
// named, by a kill from within.
TEST(RecoveryFaultsChild, DISABLED_DiesAtAMoment)
{
    const QByteArray home = qgetenv("KARVELO_CHILD_HOME");
    const QByteArray moment = qgetenv("KARVELO_CHILD_MOMENT");
    ASSERT_FALSE(home.isEmpty());
    EditorFixture editor{{QString::fromLocal8Bit(qgetenv("KARVELO_CHILD_FILE"))}};
    start(editor, home, 60);
    CKarveloDoc* doc = editor.doc();
    draw(doc, DRAWN);
    if (moment == "first-copy") {
        CDocRecovery::SetMomentHook([](CDocRecovery::Moment at) {
            if (at == CDocRecovery::Moment::BetweenRecordAndCopy)
                ::raise(SIGKILL);
        });
        doc->Recovery()->WriteNow();
    } else if (moment == "second-copy") {
        ASSERT_TRUE(doc->Recovery()->WriteNow());
        CDocRecovery::SetMomentHook([](CDocRecovery::Moment at) {
            if (at == CDocRecovery::Moment::BetweenRecordAndCopy)
                ::raise(SIGKILL);
        });
        rename(doc, "CUT");
        doc->Recovery()->WriteNow();
    } else if (moment == "saved") {
        ASSERT_TRUE(doc->Recovery()->WriteNow());
        CDocRecovery::SetMomentHook([](CDocRecovery::Moment at) {
            if (at == CDocRecovery::Moment::BeforeRemoval)
                ::raise(SIGKILL);
        });
        doc->DoFileSave();
    }
    FAIL() << "still alive after " << moment.constData();
}

TEST(RecoveryAfterCrash, AKillBetweenTheFilesOfACopyCostsNoCopyThatWasWritten)
{
    TempDir home;
    TempDir files;
    const QByteArray homePath(home.path().c_str());
    writeFile(files.file("screen.lay"), TWO);
    const QString file = QString::fromStdString(files.file("screen.lay"));
    const QString folder = recoveryFolderOf(homePath);
    const char* const child = "RecoveryFaultsChild.DISABLED_DiesAtAMoment";
    bool finished = false;
    QProcess::ExitStatus status = QProcess::NormalExit;

    {
        SCOPED_TRACE("killed in the first copy");
        const QByteArray output =
            runChild(child, childEnvironment(homePath, file, "first-copy"), 60, &finished, &status);
        ASSERT_TRUE(finished && status == QProcess::CrashExit) << output.toStdString();
        EXPECT_EQ(filesIn(folder, QStringLiteral("*.json")).size(), 1u) << "the record came first";
        EXPECT_TRUE(filesIn(folder, QStringLiteral("*.lay")).isEmpty());
        EditorFixture later{{QStringLiteral("-dde")}};
        start(later, homePath, 60);
        EXPECT_TRUE(later.log.boxes.empty()) << "a record without its copy offers nothing";
    }
    EXPECT_TRUE(filesIn(folder).isEmpty());

    {
        SCOPED_TRACE("killed in the second copy");
        const QByteArray output = runChild(child, childEnvironment(homePath, file, "second-copy"),
                                           60, &finished, &status);
        ASSERT_TRUE(finished && status == QProcess::CrashExit) << output.toStdString();
        EditorFixture later{{QStringLiteral("-dde")}};
        start(later, homePath, 60); // Return: restore
        ASSERT_EQ(later.log.boxes.size(), 1u);
        EXPECT_EQ(later.log.boxes[0].buttons, fw::MB_CUSTOM);
        ASSERT_EQ(later.app->Documents().size(), 1u);
        const auto* restored = static_cast<CKarveloDoc*>(later.app->Documents().front());
        EXPECT_EQ(restored->GetPathName(), file);
        EXPECT_TRUE(IdenticalRecords(restored->m_layout.m_controls, plus(load(file), DRAWN)))
            << "the first copy, whole";
    }
}

TEST(RecoveryAfterCrash, ACopyOfWhatWasSavedGoesSilently)
{
    TempDir home;
    TempDir files;
    const QByteArray homePath(home.path().c_str());
    writeFile(files.file("screen.lay"), TWO);
    const QString file = QString::fromStdString(files.file("screen.lay"));
    const std::vector<LayoutControl> saved = plus(load(file), DRAWN);
    const QString folder = recoveryFolderOf(homePath);
    bool finished = false;
    QProcess::ExitStatus status = QProcess::NormalExit;
    const QByteArray output =
        runChild("RecoveryFaultsChild.DISABLED_DiesAtAMoment",
                 childEnvironment(homePath, file, "saved"), 60, &finished, &status);
    ASSERT_TRUE(finished && status == QProcess::CrashExit) << output.toStdString();
    EXPECT_TRUE(IdenticalRecords(load(file), saved)) << "the save was done";
    EXPECT_EQ(filesIn(folder, QStringLiteral("*.lay")).size(), 1u) << "the copy outlived it";

    EditorFixture later{{QStringLiteral("-dde")}};
    start(later, homePath, 60);
    EXPECT_TRUE(later.log.boxes.empty()) << "nothing to restore: the file holds it";
    EXPECT_TRUE(later.app->Documents().empty());
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.lay")).isEmpty());
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.json")).isEmpty());
}

TEST(RecoveryAfterCrash, ACopyWithoutItsRecordIsOfferedUnderItsFileName)
{
    TempDir home;
    const QByteArray homePath(home.path().c_str());
    const QString folder = recoveryFolderOf(homePath);
    writeOrphan(folder, QStringLiteral("7-7-1"), {DRAWN, SKETCH}, QString());
    EditorFixture later{{QStringLiteral("-dde")}};
    start(later, homePath, 60);
    ASSERT_EQ(later.log.boxes.size(), 1u) << "asked, not called unreadable";
    EXPECT_TRUE(later.log.boxes[0].text.contains(u("7-7-1 (")))
        << later.log.boxes[0].text.toStdString();
    ASSERT_EQ(later.app->Documents().size(), 1u);
    auto* restored = static_cast<CKarveloDoc*>(later.app->Documents().front());
    EXPECT_TRUE(restored->GetPathName().isEmpty());
    EXPECT_EQ(restored->GetTitle(), u("7-7-1"));
    EXPECT_TRUE(restored->IsModified());
    EXPECT_TRUE(IdenticalRecords(restored->m_layout.m_controls, {DRAWN, SKETCH}));
    EXPECT_TRUE(filesIn(folder, QStringLiteral("7-7-1*")).isEmpty()) << "taken over";
}

// Run by the test below in a process of its own: starts on a data folder, writes out every
// box it is shown and answers Later to the question.
TEST(RecoveryFaultsChild, DISABLED_StartsAndTells)
{
    EditorFixture editor{{QStringLiteral("-dde")}};
    fw::SetMessageBoxHandler([](const fw::MessageRequest& request) {
        std::printf("BOX %s\nEND\n", request.text.toUtf8().constData());
        return request.buttons == fw::MB_CUSTOM ? 2 : int{fw::IDOK};
    });
    start(editor, qgetenv("KARVELO_CHILD_HOME"), 60);
    std::printf("STARTED\n");
}

// A FIFO or a link to /dev/zero as a record would hold the start or fill the memory; a lock
// file that cannot be opened would hide a session's copies for good. Each is skipped at once,
// named once, and the good copy beside them is still offered.
TEST(RecoveryAfterCrash, StrangeFilesInTheFolderAreSkippedAndNamedWithoutWaiting)
{
    TempDir home;
    const QByteArray homePath(home.path().c_str());
    const QString folder = recoveryFolderOf(homePath);
    const auto at = [&](const char* name) {
        return QFile::encodeName(folder + QLatin1Char('/') + u(name));
    };
    for (const char* stem : {"1-1-1", "1-1-2", "1-1-3", "2-2-1"})
        writeOrphan(folder, QString::fromLatin1(stem), {DRAWN}, u("Layout1"));
    writeOrphan(folder, QStringLiteral("3-3-1"), {SKETCH}, u("Layout5"));
    ASSERT_TRUE(QFile::remove(QString::fromLocal8Bit(at("1-1-1.json"))));
    ASSERT_EQ(::mkfifo(at("1-1-1.json").constData(), 0600), 0);
    ASSERT_TRUE(QFile::remove(QString::fromLocal8Bit(at("1-1-2.json"))));
    ASSERT_EQ(::symlink("/dev/zero", at("1-1-2.json").constData()), 0);
    std::filesystem::resize_file(at("1-1-3.json").toStdString(), 3 << 20);
    ASSERT_EQ(::mkdir(at("2-2.lock").constData(), 0700), 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KARVELO_CHILD_HOME"), QString::fromLocal8Bit(homePath));
    bool finished = false;
    QElapsedTimer clock;
    clock.start();
    QByteArray output =
        runChild("RecoveryFaultsChild.DISABLED_StartsAndTells", environment, 60, &finished);
    ASSERT_TRUE(finished && output.contains("STARTED")) << "the start hung:\n"
                                                        << output.toStdString();
    std::printf("the start took %lld ms\n", static_cast<long long>(clock.elapsed()));
    const QString told = QString::fromUtf8(output);
    for (const char* line :
         {"1-1-1.json (keine gewöhnliche Datei)", "1-1-2.json (keine gewöhnliche Datei)",
          "1-1-3.json (zu groß)", "2-2.lock (Is a directory)"})
        EXPECT_TRUE(told.contains(QString::fromUtf8(line))) << line << " in\n"
                                                            << output.toStdString();
    EXPECT_EQ(told.count(u("BOX ")), 2) << "one report, one question";
    EXPECT_TRUE(told.contains(u("Layout5 ("))) << "the good copy is offered";

    output = runChild("RecoveryFaultsChild.DISABLED_StartsAndTells", environment, 60, &finished);
    ASSERT_TRUE(finished && output.contains("STARTED")) << output.toStdString();
    EXPECT_EQ(QString::fromUtf8(output).count(u("BOX ")), 1) << "told once:\n"
                                                             << output.toStdString();
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(at("1-1-1.json").constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";
}

// After Wiederherstellen at the start, only the restored windows remain: the empty layout the
// start opened closes, and restored titles take no number of the counter from new layouts.
TEST(RecoveryAfterCrash, RestoredWindowsReplaceTheUntouchedNewLayout)
{
    TempDir home;
    TempDir files;
    const QByteArray homePath(home.path().c_str());
    writeFile(files.file("screen.lay"), TWO);
    const QString file = QString::fromStdString(files.file("screen.lay"));
    const QString folder = recoveryFolderOf(homePath);
    const auto titles = [](const std::vector<fw::Document*>& documents) {
        QStringList all;
        for (const fw::Document* document : documents)
            all << document->GetTitle();
        all.sort();
        return all;
    };
    {
        SCOPED_TRACE("later");
        writeOrphan(folder, QStringLiteral("5-5-1"), {SKETCH}, u("Layout1"));
        EditorFixture kept;
        kept.log.answers = {2};
        start(kept, homePath, 60);
        EXPECT_EQ(titles(kept.app->Documents()), QStringList{u("Layout1")})
            << "without a restore the new layout stays";
    }
    writeOrphan(folder, QStringLiteral("5-5-2"), {DRAWN}, u("Layout3"));
    writeOrphan(folder, QStringLiteral("5-5-3"), plus(load(file), DRAWN), u("screen.lay"), file);

    EditorFixture editor; // File New at the start: an empty Layout1
    start(editor, homePath, 60);
    ASSERT_EQ(editor.log.boxes.size(), 1u);
    EXPECT_EQ(titles(editor.app->Documents()),
              (QStringList{u("Layout1"), u("Layout3"), u("screen.lay")}));
    for (fw::Document* document : editor.app->Documents()) {
        const auto* doc = static_cast<CKarveloDoc*>(document);
        EXPECT_FALSE(doc->m_layout.m_controls.empty()) << "the empty one closed";
        if (doc->GetTitle() == u("Layout1")) {
            EXPECT_TRUE(IdenticalRecords(doc->m_layout.m_controls, {SKETCH}));
        }
    }
    editor.app->OnFileNew();
    EXPECT_EQ(editor.doc()->GetTitle(), u("Layout2")) << "no number was used up";
    editor.app->OnFileNew();
    EXPECT_EQ(editor.doc()->GetTitle(), u("Layout4")) << "a restored title's number is passed";
}
