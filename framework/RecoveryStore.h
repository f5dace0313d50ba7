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

// Why a file of the folder was not read. Only regular files are: a FIFO would hold the start
// until a writer came, a link to a device could feed it without end.
struct RecoveryFault
{
    enum Kind
    {
        NONE,
        MISSING,
        SYSTEM,      // error says why
        NOT_REGULAR, // not a regular file, or a link
        TOO_LARGE,
        MALFORMED,
    };
    Kind kind = NONE;
    int error = 0;
};

// A session whose lock file could not be opened: its entries cannot be claimed.
struct RecoveryLockFault
{
    QString lockPath;
    int error = 0;
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
    // marked as reported. The locks stay taken until ReleaseOrphans. A session whose lock file
    // cannot be opened goes to lockFaults, once: it is marked as reported then.
    std::vector<RecoveryEntry> ClaimOrphans(std::vector<RecoveryLockFault>* lockFaults = nullptr);
    void ReleaseOrphans();

    // Deletes an entry's files, the copy first: a removal cut short leaves a record without a
    // copy, which offers nothing.
    static void Remove(const RecoveryEntry& entry);
    // An entry that cannot be read is told about once, and kept: the mark leaves it out of
    // later offers.
    static void MarkReported(const RecoveryEntry& entry);
    static bool IsReported(const RecoveryEntry& entry);

    // Any thread: the record replaces the old one only once it is complete on disk; a write
    // that fails (a full disk) leaves the old one. systemError gets the reason.
    static bool WriteRecord(const QString& path, const QJsonObject& record,
                            int* systemError = nullptr);
    // Reads a record of at most 1 MiB from a regular file (never a link), never waiting.
    static bool ReadRecord(const QString& path, QJsonObject* record,
                           RecoveryFault* fault = nullptr);
    // Whether a copy is a regular file that may be read (MISSING when there is none).
    static RecoveryFault CheckCopy(const QString& path);

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
