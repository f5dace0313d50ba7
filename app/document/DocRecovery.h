// Keeps a copy of one document's unsaved state in the recovery folder, so that a crash does
// not take the work along.
#pragma once

#include "RecoveryStore.h"

#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <memory>
#include <thread>

class CKarveloDoc;
class CRecovery;

// The copy is written a moment after the last change, and at least once per interval while
// changes go on; never on every keystroke. It goes when the document is saved, back at its
// saved step, or closed. A large layout is written by a worker thread from a snapshot, so
// that typing does not stutter.
class CDocRecovery : public QObject
{
    Q_OBJECT

public:
    // number: the document's number within this run, part of the copy's name.
    CDocRecovery(CKarveloDoc* doc, CRecovery* recovery, int number);
    // Waits for a write under way, then removes the copy unless Keep was called.
    ~CDocRecovery() override;

    // Writes the copy now, on this thread; false when it could not be written.
    bool WriteNow();
    // Removes the copy; a write under way is removed when it ends.
    void Discard();
    // The program ends while the document still holds unsaved changes: the copy stays.
    void Keep() { m_keep = true; }

    const fw::RecoveryEntry& Entry() const { return m_entry; }

    // Moments where a crash must not cost the work: tests make the program die there. The
    // hook runs on the thread that writes, and is null in the program.
    enum class Moment
    {
        BetweenRecordAndCopy,
        BeforeRemoval,
    };
    using MomentHook = void (*)(Moment);
    static void SetMomentHook(MomentHook hook);
    // Writes done, and how many of them ran on a worker thread.
    int Writes() const { return m_writes; }
    int WorkerWrites() const { return m_workerWrites; }

private:
    struct Job;

    void OnChange();
    void OnDue();
    bool Write(bool mayUseWorker);
    void OnWorkerDone();
    void WaitForWorker();
    void Remove();
    QJsonObject Record() const;

    CKarveloDoc* m_doc;
    CRecovery* m_recovery;
    int m_number;
    fw::RecoveryEntry m_entry;
    QTimer m_idle;    // restarted by every change
    QTimer m_longest; // started by the first change after a write
    std::thread m_worker;
    std::shared_ptr<Job> m_job;
    bool m_written = false; // the copy's files may exist
    bool m_again = false;   // a write came due while the worker was busy
    bool m_discardAfter = false;
    bool m_keep = false;
    int m_writes = 0;
    int m_workerWrites = 0;
};
