// Sessions of the recovery folder: each run holds its own lock from the moment its lock file
// bears the session's name, and never takes a name that copies already use.
#include "RecoveryStore.h"
#include "support/FrameworkHarness.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
    fw::RecoveryStore first(root, QStringLiteral(".lay"));
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

    // Neither is an orphan to a third.
    fw::RecoveryStore third(root, QStringLiteral(".lay"));
    ASSERT_TRUE(third.Open());
    for (const fw::RecoveryEntry& entry : third.ClaimOrphans())
        EXPECT_FALSE(entry.name.startsWith(first.Session()) ||
                     entry.name.startsWith(second.Session()));
}
