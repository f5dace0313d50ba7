#include "FileWatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>

#include <map>

#include <sys/stat.h>

namespace fw {

namespace {

constexpr int SETTLE_MS = 150;

// One system watcher for every document: each instance costs a descriptor and the system
// allows a user only a few of them. Paths are counted, as several documents may share a
// folder.
class WatchHub : public QObject
{
    Q_OBJECT

public:
    explicit WatchHub(QObject* parent) : QObject(parent)
    {
        connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &WatchHub::Forward);
        connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &WatchHub::Forward);
    }

    static WatchHub* Instance()
    {
        if (!Slot())
            Slot() = new WatchHub(QCoreApplication::instance());
        return Slot();
    }
    // Null once the application has taken it along.
    static WatchHub* Existing() { return Slot(); }

    void Add(const QString& path)
    {
        if (m_count[path]++ == 0)
            Renew(path);
    }

    void Remove(const QString& path)
    {
        const auto found = m_count.find(path);
        if (found == m_count.end() || --found->second > 0)
            return;
        m_count.erase(found);
        if (m_watcher.files().contains(path) || m_watcher.directories().contains(path))
            m_watcher.removePath(path);
    }

    // The system drops a watch when its file is deleted or replaced: a file of the same name
    // that is there again is watched again.
    void Renew(const QString& path)
    {
        if (m_count.count(path) == 0 || m_watcher.files().contains(path) ||
            m_watcher.directories().contains(path) || !QFileInfo::exists(path))
            return;
        m_watcher.addPath(path);
    }

signals:
    void event(const QString& path);

private:
    void Forward(const QString& path)
    {
        Renew(path);
        emit event(path);
    }

    static QPointer<WatchHub>& Slot()
    {
        static QPointer<WatchHub> hub;
        return hub;
    }

    QFileSystemWatcher m_watcher;
    std::map<QString, int> m_count;
};

} // namespace

FileStamp FileStamp::Of(const QString& path)
{
    FileStamp stamp;
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                       static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    return stamp;
}

FileWatch::FileWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SETTLE_MS);
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::Check);
    connect(WatchHub::Instance(), &WatchHub::event, this, &FileWatch::OnEvent);
}

FileWatch::~FileWatch()
{
    Stop();
}

void FileWatch::Watch(const QString& path, const FileStamp& known)
{
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();
    if (absolute != m_path) {
        Stop();
        m_path = absolute;
        m_folder = info.absolutePath();
        WatchHub::Instance()->Add(m_path);
        WatchHub::Instance()->Add(m_folder);
    }
    m_known = known;
}

void FileWatch::Stop()
{
    m_settle.stop();
    if (m_path.isEmpty())
        return;
    if (WatchHub* hub = WatchHub::Existing()) {
        hub->Remove(m_path);
        hub->Remove(m_folder);
    }
    m_path.clear();
    m_folder.clear();
}

void FileWatch::OnEvent(const QString& path)
{
    if (!m_path.isEmpty() && (path == m_path || path == m_folder))
        m_settle.start();
}

void FileWatch::Check()
{
    if (m_path.isEmpty())
        return;
    // A file written again after a delete is a new file to the system.
    WatchHub::Instance()->Renew(m_path);
    if (FileStamp::Of(m_path) != m_known)
        emit changed();
}

} // namespace fw

#include "FileWatch.moc"
