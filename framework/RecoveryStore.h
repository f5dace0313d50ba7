// The folder where a running program keeps copies of its unsaved documents, so that a crash
// does not take them along.
#pragma once

#include <QJsonObject>
#include <QString>

#include <vector>

namespace fw {

// One document's copy: a payload the caller writes in its own format, and a small side
// record. Both files share a stem that names the session and the document.
struct RecoveryEntry
{
    QString name;
    QString payloadPath;
    QString recordPath;
};

// Each run of the program is a session, named by its process id and start time, that holds
// a lock on its own lock file while it runs. The entries of a session whose lock nobody holds
// are orphans: the process died. A later run takes such a session's lock before it reads its
// entries, so two runs never take the same orphans, and never a live run's entries.
class RecoveryStore
{
public:
    RecoveryStore(const QString& folder, const QString& payloadSuffix);
    // Gives back every lock; a lock file whose session has no entry left goes too.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const QString& Folder() const { return m_folder; }
    // Creates the folder (readable by the user only) and this session's lock file; false when
    // this session cannot keep entries.
    bool Open();
    bool IsOpen() const { return m_lock >= 0; }
    const QString& Session() const { return m_session; }
    // The entry of this session's document number; Open first.
    RecoveryEntry Entry(int document) const;

    // Takes the lock of every session nobody holds and lists their entries, leaving out those
    // marked as reported. The locks stay taken until ReleaseOrphans.
    std::vector<RecoveryEntry> ClaimOrphans();
    void ReleaseOrphans();

    // Deletes an entry's files.
    static void Remove(const RecoveryEntry& entry);
    // An entry that cannot be read is told about once, and kept: the mark leaves it out of
    // later offers.
    static void MarkReported(const RecoveryEntry& entry);
    static bool IsReported(const RecoveryEntry& entry);

    // Any thread: the record replaces the old one only once it is complete on disk.
    static bool WriteRecord(const QString& path, const QJsonObject& record);
    static bool ReadRecord(const QString& path, QJsonObject* record);

private:
    struct Claim
    {
        QString session;
        int lock;
    };
    std::vector<QString> EntryNames(const QString& session) const;
    RecoveryEntry EntryNamed(const QString& name) const;
    // Removes the lock file when the session has no entry left, then gives up the lock.
    void Release(const QString& session, int lock);

    QString m_folder;
    QString m_suffix;
    QString m_session;
    int m_lock = -1;
    std::vector<Claim> m_claims;
};

} // namespace fw
