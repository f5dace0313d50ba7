#include "RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <set>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

namespace {

const char* const LOCK_SUFFIX = ".lock";
const char* const RECORD_SUFFIX = ".json";
const char* const REPORTED_SUFFIX = ".reported";
// Where a record is written before it takes its name.
const char* const WRITING_SUFFIX = ".new";
// A record is a few hundred bytes; anything much larger is not one of ours.
constexpr qint64 RECORD_LIMIT = 1 << 20;

// "<pid>-<start>" for a session, "<pid>-<start>-<document>" for an entry.
const QRegularExpression& entryPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+-\\d+)-\\d+$"));
    return pattern;
}

const QRegularExpression& sessionPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^\\d+-\\d+$"));
    return pattern;
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// The stem of a file name, when it is an entry's or a lock's file.
QString stemOf(const QString& file, const QString& payloadSuffix)
{
    // A record a killed write left unfinished still names its entry, so that it goes with it.
    for (const QString& suffix :
         {payloadSuffix, QString::fromLatin1(RECORD_SUFFIX), QString::fromLatin1(REPORTED_SUFFIX),
          QString::fromLatin1(LOCK_SUFFIX),
          QString::fromLatin1(RECORD_SUFFIX) + QLatin1String(WRITING_SUFFIX)})
        if (file.endsWith(suffix))
            return file.chopped(suffix.size());
    return QString();
}

// The mark of an entry told about once as unreadable.
QString reportedMarkOf(const RecoveryEntry& entry)
{
    return entry.recordPath.chopped(static_cast<int>(std::strlen(RECORD_SUFFIX))) +
           QLatin1String(REPORTED_SUFFIX);
}

// A mark is an empty file; whatever else bears its name (a link, a FIFO) counts as one too,
// and is never followed or waited for.
bool markExists(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(native(path).constData(), &info) == 0;
}

void writeMark(const QString& path)
{
    const int fd = ::open(native(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

int writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : EIO;
        done += put;
    }
    return 0;
}

void syncFolder(const QString& file)
{
    const int fd = ::open(native(QFileInfo(file).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

RecoveryFault systemFault(int error)
{
    return {error == ENOENT ? RecoveryFault::MISSING : RecoveryFault::SYSTEM, error};
}

} // namespace

RecoveryStore::RecoveryStore(const QString& folder, const QString& payloadSuffix)
    : m_folder(QDir(folder).absolutePath()), m_suffix(payloadSuffix)
{
}

RecoveryStore::~RecoveryStore()
{
    ReleaseOrphans();
    if (m_lock >= 0)
        Release(m_session, m_lock);
}

bool RecoveryStore::Open()
{
    if (m_lock >= 0)
        return true;
    // Copies of the user's work: nobody else reads them.
    if (!QDir().mkpath(m_folder) ||
        !QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    const qint64 pid = QCoreApplication::applicationPid();
    qint64 start = QDateTime::currentMSecsSinceEpoch();
    for (int attempt = 0; attempt < 100; ++attempt, ++start) {
        const QString session = QStringLiteral("%1-%2").arg(pid).arg(start);
        const QByteArray path =
            native(m_folder + QLatin1Char('/') + session + QLatin1String(LOCK_SUFFIX));
        // A dead run's lock or copies may bear the name: the next start then.
        if (::access(path.constData(), F_OK) == 0 || !EntryNames(session).empty())
            continue;
        // Locked under a name no one looks at, then given its own, so that another run never
        // sees it unlocked and takes the session for a dead one. Names hold our pid: no live
        // run makes the same one.
        const QByteArray making = path + ".new";
        const int fd = ::open(making.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
            ::rename(making.constData(), path.constData()) != 0) {
            ::unlink(making.constData());
            ::close(fd);
            return false;
        }
        m_session = session;
        m_lock = fd;
        return true;
    }
    return false;
}

RecoveryEntry RecoveryStore::EntryNamed(const QString& name) const
{
    const QString stem = m_folder + QLatin1Char('/') + name;
    return {name, stem + m_suffix, stem + QLatin1String(RECORD_SUFFIX)};
}

RecoveryEntry RecoveryStore::Entry(int document) const
{
    return EntryNamed(QStringLiteral("%1-%2").arg(m_session).arg(document));
}

std::vector<QString> RecoveryStore::EntryNames(const QString& session) const
{
    std::set<QString> names;
    const QStringList files = QDir(m_folder).entryList(QDir::Files);
    for (const QString& file : files) {
        const QString stem = stemOf(file, m_suffix);
        const auto match = entryPattern().match(stem);
        if (match.hasMatch() && (session.isEmpty() || match.captured(1) == session))
            names.insert(stem);
    }
    return {names.begin(), names.end()};
}

std::vector<RecoveryEntry> RecoveryStore::ClaimOrphans(std::vector<RecoveryLockFault>* lockFaults)
{
    std::set<QString> sessions;
    const QStringList files = QDir(m_folder).entryList(QDir::Files);
    for (const QString& file : files) {
        const QString stem = stemOf(file, m_suffix);
        if (sessionPattern().match(stem).hasMatch())
            sessions.insert(stem);
        else if (const auto match = entryPattern().match(stem); match.hasMatch())
            sessions.insert(match.captured(1));
    }
    std::vector<RecoveryEntry> entries;
    for (const QString& session : sessions) {
        if (session == m_session ||
            std::any_of(m_claims.begin(), m_claims.end(),
                        [&session](const Claim& claim) { return claim.session == session; }))
            continue;
        const QString lockPath = m_folder + QLatin1Char('/') + session + QLatin1String(LOCK_SUFFIX);
        const QByteArray path = native(lockPath);
        // A session whose lock file is gone (its run ended with entries left) gets a new one.
        const int fd =
            ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            // Its entries stay where they are; the user hears of it once.
            const int error = errno;
            const QString mark =
                m_folder + QLatin1Char('/') + session + QLatin1String(REPORTED_SUFFIX);
            if (lockFaults && !markExists(mark)) {
                lockFaults->push_back({lockPath, error});
                writeMark(mark);
            }
            continue;
        }
        struct stat locked
        {
        }, named{};
        // Held: that run is alive. Gone from its name after the lock: its owner finished
        // with it in the meantime.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &locked) != 0 ||
            ::stat(path.constData(), &named) != 0 || locked.st_ino != named.st_ino ||
            locked.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        m_claims.push_back({session, fd});
        // Listed only now: what its owner removed before it let go is gone for good.
        for (const QString& name : EntryNames(session)) {
            RecoveryEntry entry = EntryNamed(name);
            if (!IsReported(entry))
                entries.push_back(std::move(entry));
        }
    }
    return entries;
}

void RecoveryStore::ReleaseOrphans()
{
    for (const Claim& claim : m_claims)
        Release(claim.session, claim.lock);
    m_claims.clear();
}

void RecoveryStore::Release(const QString& session, int lock)
{
    if (EntryNames(session).empty()) {
        const QString stem = m_folder + QLatin1Char('/') + session;
        QFile::remove(stem + QLatin1String(LOCK_SUFFIX));
        QFile::remove(stem + QLatin1String(REPORTED_SUFFIX));
    }
    ::close(lock);
}

void RecoveryStore::Remove(const RecoveryEntry& entry)
{
    QFile::remove(entry.payloadPath);
    QFile::remove(entry.recordPath);
    QFile::remove(entry.recordPath + QLatin1String(WRITING_SUFFIX));
    QFile::remove(reportedMarkOf(entry));
}

void RecoveryStore::MarkReported(const RecoveryEntry& entry)
{
    writeMark(reportedMarkOf(entry));
}

bool RecoveryStore::IsReported(const RecoveryEntry& entry)
{
    return markExists(reportedMarkOf(entry));
}

bool RecoveryStore::WriteRecord(const QString& path, const QJsonObject& record, int* systemError)
{
    // Every write, the sync and the close are checked: on a full disk a buffered write
    // succeeds and only these tell.
    const QByteArray writing = native(path + QLatin1String(WRITING_SUFFIX));
    int error = 0;
    const int fd =
        ::open(writing.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
    } else {
        error = writeAll(fd, QJsonDocument(record).toJson());
        if (!error && ::fsync(fd) != 0)
            error = errno;
        if (::close(fd) != 0 && !error)
            error = errno;
        if (!error && ::rename(writing.constData(), native(path).constData()) != 0)
            error = errno;
        if (error)
            ::unlink(writing.constData());
        else
            syncFolder(path);
    }
    if (systemError)
        *systemError = error;
    return error == 0;
}

bool RecoveryStore::ReadRecord(const QString& path, QJsonObject* record, RecoveryFault* fault)
{
    RecoveryFault found;
    QByteArray bytes;
    const int fd =
        ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info
    {
    };
    if (fd < 0) {
        found = errno == ELOOP ? RecoveryFault{RecoveryFault::NOT_REGULAR, 0} : systemFault(errno);
    } else if (::fstat(fd, &info) != 0) {
        found = systemFault(errno);
    } else if (!S_ISREG(info.st_mode)) {
        found.kind = RecoveryFault::NOT_REGULAR;
    } else {
        // The size the system gives is not trusted: reading stops past the limit.
        char chunk[64 * 1024];
        while (found.kind == RecoveryFault::NONE) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                found = systemFault(errno);
            else if (got == 0)
                break;
            else if (bytes.size() + got > RECORD_LIMIT)
                found.kind = RecoveryFault::TOO_LARGE;
            else
                bytes.append(chunk, got);
        }
    }
    if (fd >= 0)
        ::close(fd);
    if (found.kind == RecoveryFault::NONE) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            found.kind = RecoveryFault::MALFORMED;
        else
            *record = document.object();
    }
    if (fault)
        *fault = found;
    return found.kind == RecoveryFault::NONE;
}

RecoveryFault RecoveryStore::CheckCopy(const QString& path)
{
    struct stat info
    {
    };
    if (::lstat(native(path).constData(), &info) != 0)
        return systemFault(errno);
    if (!S_ISREG(info.st_mode))
        return {RecoveryFault::NOT_REGULAR, 0};
    return {};
}

} // namespace fw
