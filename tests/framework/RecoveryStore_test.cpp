// Sessions of the recovery folder: each run holds its own lock from the moment its lock file
// bears the session's name, and never takes a name that copies already use.
#include "RecoveryStore.h"
#include "support/FrameworkHarness.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace testing_support;

namespace {

bool heldByOthers(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

} // namespace

TEST(RecoveryStore, SessionsOfOneProcessGetNamesOfTheirOwnLockedFromTheStart)
{
    TempDir folder;
    const QString root = QString::fromStdString(folder.path());
    auto owner = std::make_unique<fw::RecoveryStore>(root, QStringLiteral(".lay"));
    fw::RecoveryStore& first = *owner;
    ASSERT_TRUE(first.Open());
    // Copies left by a dead run of the same pid, under names the next session would take.
    const QString pid = first.Session().section(QLatin1Char('-'), 0, 0);
    const qint64 start = first.Session().section(QLatin1Char('-'), 1).toLongLong();
    constexpr int STRAYS = 20;
    for (int i = 1; i <= STRAYS; ++i) {
        QFile stray(root + QStringLiteral("/%1-%2-1.json").arg(pid).arg(start + i));
        ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    }

    fw::RecoveryStore second(root, QStringLiteral(".lay"));
    ASSERT_TRUE(second.Open());
    EXPECT_NE(second.Session(), first.Session());
    const qint64 secondStart = second.Session().section(QLatin1Char('-'), 1).toLongLong();
    EXPECT_FALSE(secondStart > start && secondStart <= start + STRAYS)
        << "a name with copies of a dead run is not taken";
    const QStringList files = QDir(root).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files)
        EXPECT_FALSE(file.endsWith(QStringLiteral(".new"))) << file.toStdString();
    EXPECT_TRUE(heldByOthers(root + QLatin1Char('/') + first.Session() + QStringLiteral(".lock")));
    EXPECT_TRUE(heldByOthers(root + QLatin1Char('/') + second.Session() + QStringLiteral(".lock")));

    // Both keep a copy. To a third, neither is an orphan while it lives, and the strays are.
    for (const fw::RecoveryStore* live : {&first, &second}) {
        const fw::RecoveryEntry entry = live->Entry(1);
        for (const QString& file : {entry.payloadPath, entry.recordPath}) {
            QFile copy(file);
            ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        }
    }
    const auto sessionsOf = [](const std::vector<fw::RecoveryEntry>& entries) {
        QStringList sessions;
        for (const fw::RecoveryEntry& entry : entries)
            sessions << entry.name.section(QLatin1Char('-'), 0, 1);
        sessions.sort();
        return sessions;
    };
    QStringList strays;
    for (int i = 1; i <= STRAYS; ++i)
        strays << QStringLiteral("%1-%2").arg(pid).arg(start + i);
    strays.sort();
    fw::RecoveryStore third(root, QStringLiteral(".lay"));
    ASSERT_TRUE(third.Open());
    EXPECT_EQ(sessionsOf(third.ClaimOrphans()), strays);
    third.ReleaseOrphans();

    // Once the first has gone without removing its copy, it is an orphan like the strays.
    const QString firstSession = first.Session();
    const fw::RecoveryEntry kept = first.Entry(1);
    owner.reset();
    strays << firstSession;
    strays.sort();
    const std::vector<fw::RecoveryEntry> orphans = third.ClaimOrphans();
    EXPECT_EQ(sessionsOf(orphans), strays);
    for (const fw::RecoveryEntry& entry : orphans) {
        if (entry.name.startsWith(firstSession)) {
            EXPECT_EQ(entry.recordPath, kept.recordPath);
        }
    }
}
