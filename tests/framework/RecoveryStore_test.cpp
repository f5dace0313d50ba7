// Sessions of the recovery folder: each run holds its own lock from the moment its lock file
// bears the session's name, and never takes a name that copies already use.
#include "RecoveryStore.h"
#include "abstractdata/ChildProcess.h"
#include "support/FrameworkHarness.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
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

// A record on a disk without room: the write says so, with the system's reason, and the
// record before it stays whole.
TEST(RecoveryStore, ARecordTheDiskHasNoRoomForKeepsTheOldOne)
{
    TempDir dir;
    const std::string mount = dir.file("mount");
    std::filesystem::create_directory(mount);
    EXPECT_CHILD_CLEAN(inChild([&] {
        std::string why = privateMounts();
        if (why.empty())
            why = mountTmpfs(mount, 64 * 1024);
        if (!why.empty())
            return why;
        Findings found;
        const QString path = QString::fromStdString(mount + "/1-1-1.json");
        QJsonObject good;
        good[QStringLiteral("title")] = QStringLiteral("Layout1");
        found.check(fw::RecoveryStore::WriteRecord(path, good), "the first record");
        {
            std::FILE* filler = std::fopen((mount + "/filler").c_str(), "wb");
            const std::string page(4096, 'f');
            while (std::fwrite(page.data(), 1, page.size(), filler) == page.size() &&
                   std::fflush(filler) == 0) {
            }
            std::fclose(filler);
        }
        QJsonObject larger = good;
        larger[QStringLiteral("path")] = QString(3000, QLatin1Char('p'));
        int error = 0;
        found.check(!fw::RecoveryStore::WriteRecord(path, larger, &error), "a full disk fails");
        found.check(error == ENOSPC, "ENOSPC, not " + std::to_string(error));
        QJsonObject read;
        found.check(fw::RecoveryStore::ReadRecord(path, &read) && read == good,
                    "the first record stays");
        found.check(!std::filesystem::exists(mount + "/1-1-1.json.new"), "nothing half-written");
        return found.text;
    }));
}

// A FIFO, a link to a device, a link at all, a record far too large however small the system
// says it is: each is refused at once and says why.
TEST(RecoveryStore, OnlyRegularRecordsOfSaneSizeAreRead)
{
    TempDir dir;
    const auto at = [&](const char* name) { return QString::fromStdString(dir.file(name)); };
    ASSERT_EQ(::mkfifo(dir.file("fifo.json").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("zero.json").c_str()), 0);
    writeFile(dir.file("good.json"), std::string("{\"format\": 1}"));
    ASSERT_EQ(::symlink("good.json", dir.file("link.json").c_str()), 0);
    writeFile(dir.file("large.json"), std::string("{\"format\": 1}"));
    std::filesystem::resize_file(dir.file("large.json"), 3 << 20);

    const std::string findings = inChild(
        [&] {
            Findings found;
            const auto kind = [](const QString& path) {
                QJsonObject record;
                fw::RecoveryFault fault;
                fw::RecoveryStore::ReadRecord(path, &record, &fault);
                return fault.kind;
            };
            found.check(kind(at("fifo.json")) == fw::RecoveryFault::NOT_REGULAR, "a FIFO");
            found.check(kind(at("zero.json")) == fw::RecoveryFault::NOT_REGULAR, "/dev/zero");
            found.check(kind(at("link.json")) == fw::RecoveryFault::NOT_REGULAR, "a link");
            found.check(kind(at("large.json")) == fw::RecoveryFault::TOO_LARGE, "3 MiB");
            found.check(kind(at("missing.json")) == fw::RecoveryFault::MISSING, "missing");
            found.check(kind(at("good.json")) == fw::RecoveryFault::NONE, "a record reads");
            found.check(fw::RecoveryStore::CheckCopy(at("link.json")).kind ==
                            fw::RecoveryFault::NOT_REGULAR,
                        "a copy that is a link");
            // A mark that is a FIFO is not written through, nor waited for.
            const fw::RecoveryEntry entry{QStringLiteral("fifo"), at("fifo.lay"), at("fifo.json")};
            ::mkfifo(dir.file("fifo.reported").c_str(), 0600);
            fw::RecoveryStore::MarkReported(entry);
            found.check(fw::RecoveryStore::IsReported(entry), "the FIFO counts as the mark");
            return found.text;
        },
        10);
    EXPECT_EQ(findings, "");
}
