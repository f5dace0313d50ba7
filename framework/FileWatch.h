// Tells a document when its file on disk is no longer the one it loaded or saved.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>

namespace fw {

// What a file looks like from outside: enough to see that another program wrote, replaced,
// moved or deleted it, without reading it.
struct FileStamp
{
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    // Follows links to the file a save would write.
    static FileStamp Of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

// Watches one file and its folder (another program may write a new file and rename it over
// ours). changed() comes once events have settled for a moment and the file's stamp is not
// the known one; the owner decides what the change means and then records the new stamp.
class FileWatch : public QObject
{
    Q_OBJECT

public:
    explicit FileWatch(QObject* parent = nullptr);
    ~FileWatch() override;

    // Watches path from now on; known is the stamp of what the owner holds.
    void Watch(const QString& path, const FileStamp& known);
    void Stop();
    bool Watching() const { return !m_path.isEmpty(); }
    const QString& Path() const { return m_path; }

    const FileStamp& Known() const { return m_known; }
    void SetKnown(const FileStamp& stamp) { m_known = stamp; }

signals:
    void changed();

private:
    void OnEvent(const QString& path);
    void Check();

    QString m_path;
    QString m_folder;
    FileStamp m_known;
    QTimer m_settle;
};

} // namespace fw
