#include "document/DocRecovery.h"

#include "LayoutFile.h"
#include "document/ExternalChange.h"
#include "document/KarveloDoc.h"
#include "document/Recovery.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <cerrno>

namespace {

// Longer than this on the user-interface thread and typing would stutter.
constexpr double UI_THREAD_BUDGET_MS = 5.0;

std::atomic<CDocRecovery::MomentHook> g_momentHook{nullptr};

void reachMoment(CDocRecovery::Moment moment)
{
    if (const CDocRecovery::MomentHook hook = g_momentHook.load())
        hook(moment);
}

// The record first: a copy without its record would be a nameless file after a crash, while
// a record without its copy offers nothing and goes. A later record beside the copy before it
// still restores that copy. Returns the system's reason of a failure, or 0.
int writeEntry(const LayoutDataObject& layout, const fw::RecoveryEntry& entry,
               const QJsonObject& record)
{
    int error = 0;
    if (!fw::RecoveryStore::WriteRecord(entry.recordPath, record, &error))
        return error ? error : EIO;
    reachMoment(CDocRecovery::Moment::BetweenRecordAndCopy);
    // The same safe save as the user's files: a copy is replaced only by a complete one.
    if (SaveLayoutFile(layout, QFile::encodeName(entry.payloadPath).constData(), &error) < 0)
        return error ? error : EIO;
    return 0;
}

} // namespace

void CDocRecovery::SetMomentHook(MomentHook hook)
{
    g_momentHook.store(hook);
}

struct CDocRecovery::Job
{
    LayoutDataObject layout;
    fw::RecoveryEntry entry;
    QJsonObject record;
    int error = 0;
    double ms = 0;
};

CDocRecovery::CDocRecovery(CKarveloDoc* doc, CRecovery* recovery, int number)
    : m_doc(doc), m_recovery(recovery), m_number(number)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(recovery->IdleMs());
    m_longest.setSingleShot(true);
    m_longest.setInterval(recovery->IntervalMs());
    connect(&m_idle, &QTimer::timeout, this, &CDocRecovery::OnDue);
    connect(&m_longest, &QTimer::timeout, this, &CDocRecovery::OnDue);
    // A step pushed, merged, undone or redone, or the modified mark set by hand.
    connect(doc->UndoStack(), &QUndoStack::indexChanged, this, &CDocRecovery::OnChange);
    connect(doc, &fw::Document::modifiedChanged, this, &CDocRecovery::OnChange);
}

CDocRecovery::~CDocRecovery()
{
    if (m_worker.joinable())
        m_worker.join();
    if (m_written && !m_keep)
        Remove();
}

void CDocRecovery::Remove()
{
    reachMoment(Moment::BeforeRemoval);
    fw::RecoveryStore::Remove(m_entry);
}

void CDocRecovery::OnChange()
{
    if (!m_doc->IsModified()) {
        Discard();
        return;
    }
    // Only timers here: this runs on every keystroke.
    m_idle.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void CDocRecovery::OnDue()
{
    m_idle.stop();
    m_longest.stop();
    if (!m_doc->IsModified())
        return;
    if (m_job) {
        m_again = true;
        return;
    }
    Write(true);
}

void CDocRecovery::Discard()
{
    m_idle.stop();
    m_longest.stop();
    m_again = false;
    if (m_job) {
        m_discardAfter = true;
        return;
    }
    if (m_written)
        Remove();
    m_written = false;
}

bool CDocRecovery::WriteNow()
{
    // The write below covers whatever a pending second round would have written; left set,
    // that round would start a worker on the same entry beside it.
    m_again = false;
    WaitForWorker();
    m_idle.stop();
    m_longest.stop();
    return Write(false);
}

QJsonObject CDocRecovery::Record() const
{
    // The file's stamp tells a later run whether another program changed the file since.
    return RecoveryRecord{m_doc->GetPathName(), m_doc->GetTitle(), QDateTime::currentDateTimeUtc(),
                          m_doc->External()->Known()}
        .ToJson();
}

bool CDocRecovery::Write(bool mayUseWorker)
{
    if (!m_recovery->OpenStore())
        return false;
    if (m_entry.name.isEmpty())
        m_entry = m_recovery->Store().Entry(m_number);
    m_written = true;
    m_discardAfter = false;
    const std::size_t count = m_doc->m_layout.m_controls.size();
    if (!mayUseWorker || m_recovery->EstimateMs(count) < UI_THREAD_BUDGET_MS) {
        QElapsedTimer clock;
        clock.start();
        const int error = writeEntry(m_doc->m_layout, m_entry, Record());
        m_recovery->Learn(count, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        ++m_writes;
        if (error)
            m_recovery->ReportWriteFailure(error);
        return error == 0;
    }
    // The snapshot is the only work left on this thread.
    m_job = std::make_shared<Job>();
    m_job->layout = m_doc->m_layout;
    m_job->entry = m_entry;
    m_job->record = Record();
    m_worker = std::thread([this, job = m_job] {
        QElapsedTimer clock;
        clock.start();
        job->error = writeEntry(job->layout, job->entry, job->record);
        job->ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        // A wait on the UI thread may have finished this job already and started the next:
        // the news is for this job only.
        QMetaObject::invokeMethod(
            this,
            [this, finished = std::weak_ptr<Job>(job)] {
                if (m_job && finished.lock() == m_job)
                    OnWorkerDone();
            },
            Qt::QueuedConnection);
    });
    return true;
}

void CDocRecovery::WaitForWorker()
{
    if (m_job)
        OnWorkerDone();
}

void CDocRecovery::OnWorkerDone()
{
    if (!m_job)
        return; // waited for already
    m_worker.join();
    const std::shared_ptr<Job> job = std::move(m_job);
    m_recovery->Learn(job->layout.m_controls.size(), job->ms);
    ++m_writes;
    ++m_workerWrites;
    if (job->error)
        m_recovery->ReportWriteFailure(job->error);
    if (m_discardAfter) {
        m_discardAfter = false;
        Remove();
        m_written = false;
    }
    if (std::exchange(m_again, false) && m_doc->IsModified())
        Write(true);
}
