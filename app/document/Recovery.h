// Crash recovery for the whole program: where the copies of unsaved layouts go, how often they
// are written, and the question at start-up about the copies a crashed run left behind.
#pragma once

#include "FileWatch.h"
#include "LayoutDataObject.h"
#include "RecoveryStore.h"

#include <QDateTime>
#include <QJsonObject>
#include <QObject>

#include <cstddef>
#include <vector>

class CKarveloDoc;

namespace fw {
class Document;
}

// The side record of a copy: whose work it is, and the state of that file when the copy was
// taken.
struct RecoveryRecord
{
    QString path; // empty for an untitled layout
    QString title;
    QDateTime time;
    fw::FileStamp file;

    QJsonObject ToJson() const;
    // false when json is no record of the format ToJson writes, or names no document.
    static bool FromJson(const QJsonObject& json, RecoveryRecord& record);
};

class CRecovery : public QObject
{
    Q_OBJECT

public:
    // folder: where the copies go. intervalSeconds: the longest a change waits for its copy
    // while changes go on; 0 writes no copies.
    CRecovery(const QString& folder, int intervalSeconds, QObject* parent = nullptr);
    ~CRecovery() override;

    // The folder under the user's data folder, and the interval from the settings.
    static QString DefaultFolder();
    static int IntervalSetting();

    bool Enabled() const { return m_intervalMs > 0; }
    int IntervalMs() const { return m_intervalMs; }
    // A copy is written this long after the last change.
    int IdleMs() const;

    // Every new layout document gets its copy keeper here.
    void Attach(CKarveloDoc* doc);
    // After the main window shows: tells about copies that cannot be read (once), then asks
    // about the others: restore, discard, or keep them for the next start. A copy of what the
    // file on disk holds already goes silently. After a restore, an untitled layout the start
    // opened and nobody touched closes.
    void OfferOrphans();
    // At a normal end: a document still open with unsaved changes keeps its copy.
    void Shutdown();

    // This run's session in the folder; false (said once) when no copy can be written.
    bool OpenStore();
    fw::RecoveryStore& Store() { return m_store; }

    // How long a write of count controls takes on this machine, from the writes so far.
    double EstimateMs(std::size_t count) const;
    void Learn(std::size_t count, double ms);
    // Said once per run; error is the system's reason, where one is known.
    void ReportWriteFailure(int error = 0);

private:
    struct Orphan
    {
        fw::RecoveryEntry entry;
        LayoutDataObject layout;
        RecoveryRecord record;
    };
    enum class Found
    {
        OFFER,
        NOTHING,    // no copy, or one of what the file holds already
        UNREADABLE, // the line says which file and why
    };
    static Found ReadOrphan(Orphan& orphan, QString& line);
    bool Restore(Orphan& orphan, const std::vector<fw::Document*>& closing);
    void RemoveOrphan(const fw::RecoveryEntry& entry);

    fw::RecoveryStore m_store;
    int m_intervalMs;
    int m_documents = 0;
    bool m_failureTold = false;
    double m_fixedMs = 1.0;
    double m_perControlUs = 0.2;
};
