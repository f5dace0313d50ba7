// What the crash-recovery tests share: starting the editor on a data folder, editing, the
// files of a run that died, and runs of this test program that die where a test says.
#pragma once

#include "AppHarness.h"
#include "LayoutFile.h"
#include "document/DocRecovery.h"
#include "document/Recovery.h"
#include "support/LayoutBytes.h"
#include "support/LayoutRecords.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace testing_support {

// The layout on disk of the recovery tests, and what their killed runs draw: odd fractions, so
// that bit-for-bit means something.
inline const Bytes TWO = LayoutBytes(2, 2)
                             .record(1, "FIRST", 0, 0, 1.5f, 2, 30, 40)
                             .record(2, "SECOND", 3, 4, 50, 60, 70, 80)
                             .bytes;
inline const LayoutControl DRAWN = box("DRAWN", 10.125f, 20.375f, 110.0625f, 70.3f);
inline const LayoutControl SKETCH = box("SKETCH", 1.1f, 2.2f, 3.3f, 4.4f);

inline std::vector<LayoutControl> load(const QString& path)
{
    LayoutDataObject layout;
    EXPECT_GE(LoadLayoutFile(layout, QFile::encodeName(path).constData()), 0) << path.toStdString();
    return layout.m_controls;
}

inline QStringList filesIn(const QString& folder, const QString& pattern = QStringLiteral("*"))
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// Starts the editor with its data folder under home and copies after interval seconds.
inline void start(EditorFixture& editor, const QByteArray& home, int interval)
{
    if (!home.isEmpty())
        qputenv("HOME", home);
    QSettings profile(QSettings::NativeFormat, QSettings::UserScope,
                      QStringLiteral("Local AppWizard-Generated Applications"),
                      QStringLiteral("Karvelo"));
    profile.setValue(QStringLiteral("Recovery/IntervalSeconds"), interval);
    profile.sync();
    ASSERT_TRUE(editor.app->InitInstance());
    processEvents(); // the question about orphans comes once the window shows
}

inline void draw(CKarveloDoc* doc, const LayoutControl& control)
{
    doc->m_newControl = control;
    doc->AddNewControl();
}

inline void rename(CKarveloDoc* doc, const char* name)
{
    LayoutControl record = doc->m_layout.m_controls[0];
    record.m_name = name;
    doc->Model().ChangeControl(nullptr, 0, record, QStringLiteral("Umbenennen"), 1);
}

// The recovery folder of the editor whose home is home: under the data folder of the two
// names the editor's start gives the process.
inline QString recoveryFolderOf(const QByteArray& home)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Karvelo"));
    const QByteArray old = qgetenv("HOME");
    qputenv("HOME", home);
    const QString folder = CRecovery::DefaultFolder();
    qputenv("HOME", old);
    return folder;
}

// A copy as a run that died leaves it, under stem in folder: the layout, and a record unless
// title and path are both empty.
inline void writeOrphan(const QString& folder, const QString& stem,
                        const std::vector<LayoutControl>& controls, const QString& title,
                        const QString& path = QString())
{
    ASSERT_TRUE(QDir().mkpath(folder));
    LayoutDataObject layout;
    layout.m_controls = controls;
    ASSERT_GE(SaveLayoutFile(layout, QFile::encodeName(folder + QLatin1Char('/') + stem +
                                                       QStringLiteral(".lay"))
                                         .constData()),
              0);
    if (!title.isEmpty() || !path.isEmpty()) {
        ASSERT_TRUE(fw::RecoveryStore::WriteRecord(
            folder + QLatin1Char('/') + stem + QStringLiteral(".json"),
            RecoveryRecord{path, title, QDateTime::currentDateTimeUtc(), fw::FileStamp::Of(path)}
                .ToJson()));
    }
}

// Runs the disabled test name of this program in a process of its own with environment,
// until it ends or seconds pass (then it is killed). Returns what it wrote; finished tells
// whether it ended by itself.
inline QByteArray runChild(const char* name, const QProcessEnvironment& environment, int seconds,
                           bool* finished = nullptr, QProcess::ExitStatus* status = nullptr)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + QString::fromLatin1(name),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    const bool ended = child.waitForFinished(seconds * 1000);
    if (!ended) {
        child.kill();
        child.waitForFinished(10000);
    }
    if (finished)
        *finished = ended;
    if (status)
        *status = child.exitStatus();
    return child.readAllStandardOutput();
}

} // namespace testing_support
