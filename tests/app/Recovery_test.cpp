// Copies of unsaved layouts against crashes: when they are written and removed, and what a
// later start does with the copies of a run that died.
#include "RecoveryFixture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace testing_support;

TEST(RecoveryCopies, FollowTheUnsavedStateOfEachLayout)
{
    TempDir files;
    writeFile(files.file("a.lay"), TWO);
    const QString path = QString::fromStdString(files.file("a.lay"));
    EditorFixture editor{{path}};
    start(editor, {}, 1);
    const QString folder = CRecovery::DefaultFolder();
    CKarveloDoc* doc = editor.doc();
    const auto copies = [&] { return filesIn(folder, QStringLiteral("*.lay")).size(); };
    EXPECT_EQ(copies(), 0) << "nothing unsaved, no copy";

    // A write may run on a worker thread; its count rises once the copy is complete.
    const auto written = [&](int count) {
        return QTest::qWaitFor([&] { return doc->Recovery()->Writes() == count; }, 3000);
    };
    rename(doc, "CHANGED");
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(written(1));
    EXPECT_GE(clock.elapsed(), 500) << "a moment after the change, not at once";
    EXPECT_EQ(copies(), 1);
    const fw::RecoveryEntry& entry = doc->Recovery()->Entry();
    EXPECT_TRUE(IdenticalRecords(load(entry.payloadPath), doc->m_layout.m_controls));
    QJsonObject record;
    ASSERT_TRUE(fw::RecoveryStore::ReadRecord(entry.recordPath, &record));
    EXPECT_EQ(record[QStringLiteral("path")].toString(), path);
    EXPECT_EQ(record[QStringLiteral("title")].toString(), u("a.lay"));
    const QDateTime time =
        QDateTime::fromString(record[QStringLiteral("time")].toString(), Qt::ISODateWithMs);
    EXPECT_LE(std::abs(time.secsTo(QDateTime::currentDateTimeUtc())), 60);
    EXPECT_TRUE(entry.payloadPath.contains(QString::number(QCoreApplication::applicationPid())))
        << "named after the run";
    EXPECT_EQ(readFile(files.file("a.lay")), TWO) << "the user's file is never written";

    doc->UndoStack()->undo();
    EXPECT_EQ(copies(), 0) << "back at the saved step";
    doc->UndoStack()->redo();
    ASSERT_TRUE(written(2));
    EXPECT_EQ(copies(), 1);
    rename(doc, "NEWER");
    ASSERT_TRUE(written(3));
    EXPECT_EQ(load(entry.payloadPath).at(0).m_name, "NEWER") << "the copy follows the changes";
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(copies(), 0) << "saved";

    rename(doc, "UNWANTED");
    ASSERT_TRUE(written(4));
    EXPECT_EQ(copies(), 1);
    editor.log.answers = {fw::IDNO};
    editor.child()->close();
    processEvents();
    EXPECT_TRUE(editor.app->Documents().empty());
    EXPECT_EQ(copies(), 0) << "closed without saving";

    editor.app->OnFileNew();
    draw(editor.doc(), SKETCH);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor.doc()->Recovery()->Writes() == 1; }, 3000));
    ASSERT_TRUE(
        fw::RecoveryStore::ReadRecord(editor.doc()->Recovery()->Entry().recordPath, &record));
    EXPECT_EQ(record[QStringLiteral("path")].toString(), QString()) << "untitled";
    EXPECT_EQ(record[QStringLiteral("title")].toString(), u("Layout1"));
    editor.app.reset();
    EXPECT_TRUE(filesIn(folder).isEmpty()) << "a normal end leaves nothing, lock file included";
}

TEST(RecoveryCopies, ChangesThatGoOnAreCopiedAtLeastOncePerInterval)
{
    {
        EditorFixture editor{{QStringLiteral("-dde")}};
        start(editor, {}, 3);
        const QString folder = CRecovery::DefaultFolder();
        editor.app->OnFileNew();
        draw(editor.doc(), DRAWN);
        QElapsedTimer clock;
        clock.start();
        // A change every 0.4 s: the copy a moment after the last change never comes. (The
        // name alternates: the same name twice would be no change.)
        for (int turn = 0;
             filesIn(folder, QStringLiteral("*.lay")).isEmpty() && clock.elapsed() < 8000; ++turn) {
            rename(editor.doc(), turn % 2 ? "ODD" : "EVEN");
            QTest::qWait(400);
        }
        EXPECT_EQ(filesIn(folder, QStringLiteral("*.lay")).size(), 1);
        EXPECT_GE(clock.elapsed(), 2500);
        EXPECT_LE(clock.elapsed(), 5000);
    }

    // Switched off: no copies at all.
    EditorFixture off{{QStringLiteral("-dde")}};
    start(off, {}, 0);
    off.app->OnFileNew();
    draw(off.doc(), DRAWN);
    EXPECT_EQ(off.doc()->Recovery(), nullptr);
    QTest::qWait(300);
    EXPECT_TRUE(filesIn(CRecovery::DefaultFolder(), QStringLiteral("*.lay")).isEmpty());
}

// Run by the test below in a process of its own, which it kills.
TEST(RecoveryChild, DISABLED_EditsUntilKilled)
{
    const QByteArray home = qgetenv("KARVELO_CHILD_HOME");
    ASSERT_FALSE(home.isEmpty());
    EditorFixture editor{{QString::fromLocal8Bit(qgetenv("KARVELO_CHILD_FILE"))}};
    start(editor, home, 1);
    draw(editor.doc(), DRAWN);
    editor.app->OnFileNew();
    draw(editor.doc(), SKETCH);
    const QString folder = CRecovery::DefaultFolder();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return filesIn(folder, QStringLiteral("*.json")).size() == 2; }, 10000));
    std::printf("READY\n");
    std::fflush(stdout);
    QTest::qWait(120000);
}

TEST(RecoveryAfterCrash, AKilledRunsCopiesAreOfferedOnceItIsGone)
{
    TempDir home;
    TempDir files;
    const QByteArray homePath(home.path().c_str());
    writeFile(files.file("screen.lay"), TWO);
    const QString file = QString::fromStdString(files.file("screen.lay"));
    std::vector<LayoutControl> expected = load(file);
    expected.push_back(DRAWN);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KARVELO_CHILD_HOME"), QString::fromLocal8Bit(homePath));
    environment.insert(QStringLiteral("KARVELO_CHILD_FILE"), file);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=RecoveryChild.DISABLED_EditsUntilKilled"),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            output += child.readAllStandardOutput();
            return output.contains("READY") || child.state() == QProcess::NotRunning;
        },
        60000));
    ASSERT_TRUE(output.contains("READY")) << output.toStdString();

    QString folder;
    QStringList ofTheChild;
    {
        SCOPED_TRACE("another run while the first one lives");
        EditorFixture other{{QStringLiteral("-dde")}};
        start(other, homePath, 1);
        folder = CRecovery::DefaultFolder();
        EXPECT_TRUE(other.log.boxes.empty()) << "a live run's copies are not offered";
        ofTheChild = filesIn(folder);
        EXPECT_EQ(ofTheChild.size(), 5) << "two copies, two records, one lock file";
        other.app->OnFileNew();
        draw(other.doc(), DRAWN);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return filesIn(folder, QStringLiteral("*.json")).size() == 3; }, 3000));
        const QString childSession = ofTheChild.front().section(QLatin1Char('-'), 0, 1);
        for (const QString& name : filesIn(folder)) {
            if (!ofTheChild.contains(name)) {
                EXPECT_FALSE(name.startsWith(childSession)) << name.toStdString();
            }
        }
    }
    EXPECT_EQ(filesIn(folder), ofTheChild) << "the other run took only its own copy along";

    child.kill(); // SIGKILL: nothing of the child runs any more
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(filesIn(folder), ofTheChild);

    {
        SCOPED_TRACE("later");
        EditorFixture later{{QStringLiteral("-dde")}};
        later.log.answers = {2};
        start(later, homePath, 1);
        ASSERT_EQ(later.log.boxes.size(), 1u);
        const fw::MessageRequest& question = later.log.boxes[0];
        EXPECT_EQ(question.buttons, fw::MB_CUSTOM);
        EXPECT_EQ(question.buttonTexts,
                  (QStringList{u("Wiederherstellen"), u("Verwerfen"), u("Später")}));
        EXPECT_EQ(question.defaultButton, 0);
        EXPECT_EQ(question.escapeButton, 2);
        EXPECT_TRUE(question.text.contains(file)) << question.text.toStdString();
        EXPECT_TRUE(question.text.contains(u("Layout1 (")));
        EXPECT_TRUE(later.app->Documents().empty());
    }
    EXPECT_EQ(filesIn(folder), ofTheChild) << "kept for the next start";

    {
        SCOPED_TRACE("restore");
        EditorFixture restoring{{QStringLiteral("-dde")}};
        start(restoring, homePath, 1); // Return: the default button
        ASSERT_EQ(restoring.log.boxes.size(), 1u);
        CKarveloDoc* withPath = nullptr;
        CKarveloDoc* untitled = nullptr;
        for (fw::Document* document : restoring.app->Documents())
            (document->GetPathName().isEmpty() ? untitled : withPath) =
                static_cast<CKarveloDoc*>(document);
        ASSERT_NE(withPath, nullptr);
        ASSERT_NE(untitled, nullptr);
        EXPECT_EQ(withPath->GetPathName(), file);
        EXPECT_TRUE(IdenticalRecords(withPath->m_layout.m_controls, expected)) << "bit for bit";
        EXPECT_TRUE(withPath->IsModified());
        EXPECT_EQ(untitled->GetTitle(), u("Layout1"));
        EXPECT_TRUE(IdenticalRecords(untitled->m_layout.m_controls, {SKETCH}));
        EXPECT_TRUE(untitled->IsModified());
        EXPECT_EQ(withPath->GetFrames().size(), 1u);
        EXPECT_EQ(untitled->GetFrames().size(), 1u) << "each in its own window";
        for (const QString& name : ofTheChild)
            EXPECT_FALSE(filesIn(folder).contains(name)) << "taken over: " << name.toStdString();
        EXPECT_EQ(filesIn(folder, QStringLiteral("*.json")).size(), 2) << "copies of this run";
        EXPECT_EQ(readFile(files.file("screen.lay")), TWO) << "the user's file stays as it was";

        ASSERT_TRUE(withPath->DoFileSave());
        EXPECT_EQ(restoring.log.boxes.size(), 1u) << "the file had not changed: no question";
        EXPECT_TRUE(IdenticalRecords(load(file), expected));
    }
    EXPECT_TRUE(filesIn(folder).isEmpty());
}

TEST(RecoveryAfterCrash, DiscardDeletesCopiesAndUnreadableOnesAreToldOnceAndKept)
{
    TempDir home;
    const QByteArray homePath(home.path().c_str());
    QString folder;
    {
        EditorFixture source{{QStringLiteral("-dde")}};
        start(source, homePath, 1);
        folder = CRecovery::DefaultFolder();
        for (const char* name : {"ONE", "TWO", "THREE"}) {
            source.app->OnFileNew();
            draw(source.doc(), box(name, 1, 2, 3, 4));
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return filesIn(folder, QStringLiteral("*.json")).size() == 3; }, 3000));
        // The same files under the name of a run that died: nobody holds its lock.
        const QString session = source.app->Recovery()->Store().Session();
        for (int n = 1; n <= 3; ++n)
            for (const char* suffix : {".lay", ".json"})
                ASSERT_TRUE(QFile::copy(
                    folder +
                        QStringLiteral("/%1-%2%3").arg(session).arg(n).arg(QLatin1String(suffix)),
                    folder + QStringLiteral("/1-1-%1%2").arg(n).arg(QLatin1String(suffix))));
    }
    const std::string base = QFile::encodeName(folder).toStdString() + "/1-1-";
    const Bytes whole = readFile(base + "2.lay");
    writeFile(base + "2.lay", Bytes(whole.begin(), whole.begin() + 30));
    writeFile(base + "3.json", std::string("{ no record"));
    const Bytes broken2 = readFile(base + "2.lay");
    const Bytes broken3 = readFile(base + "3.json");

    {
        EditorFixture discarding{{QStringLiteral("-dde")}};
        discarding.log.answers = {fw::IDOK, 1};
        start(discarding, homePath, 1);
        ASSERT_EQ(discarding.log.boxes.size(), 2u);
        const fw::MessageRequest& report = discarding.log.boxes[0];
        EXPECT_EQ(report.buttons, fw::MB_OK);
        EXPECT_EQ(report.icon, fw::MB_ICONWARNING);
        EXPECT_TRUE(report.text.contains(u("1-1-2.lay"))) << report.text.toStdString();
        EXPECT_TRUE(report.text.contains(u("1-1-3.json"))) << "the file that was not read";
        EXPECT_FALSE(report.text.contains(u("1-1-1")));
        EXPECT_TRUE(report.text.contains(folder));
        EXPECT_EQ(discarding.log.boxes[1].buttons, fw::MB_CUSTOM);
        EXPECT_TRUE(discarding.log.boxes[1].text.contains(u("Layout")));
        EXPECT_TRUE(discarding.app->Documents().empty());
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(base + "1.lay"))) << "discarded";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(base + "1.json")));
    EXPECT_EQ(readFile(base + "2.lay"), broken2) << "kept as it was";
    EXPECT_EQ(readFile(base + "3.json"), broken3);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(base + "2.json")));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(base + "3.lay")));

    {
        EditorFixture again{{QStringLiteral("-dde")}};
        start(again, homePath, 1);
        EXPECT_TRUE(again.log.boxes.empty()) << "told once";
    }
    EXPECT_EQ(readFile(base + "2.lay"), broken2);
    EXPECT_EQ(readFile(base + "3.json"), broken3);
}

TEST(RecoveryAfterCrash, ARestoredUntitledLayoutNeverTakesAnOpenWindowsTitle)
{
    EditorFixture editor;
    ASSERT_TRUE(editor.app->InitInstance()); // Layout1 is open
    LayoutControl drawn;
    drawn.m_name = "DRAWN";
    for (const char* recorded : {"Layout1", "Layout7"}) {
        editor.app->OnFileNew();
        CKarveloDoc* restored = editor.doc();
        const QString fresh = restored->GetTitle();
        restored->TakeRecovered({drawn}, QString(), QString::fromLatin1(recorded), {});
        EXPECT_EQ(restored->GetTitle(), QString::fromLatin1(recorded) == QStringLiteral("Layout1")
                                            ? fresh
                                            : QStringLiteral("Layout7"))
            << recorded;
        EXPECT_TRUE(restored->GetPathName().isEmpty()) << "untitled stays untitled";
        EXPECT_TRUE(restored->IsModified());
    }
}
