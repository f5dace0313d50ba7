#include "document/Recovery.h"

#include "Application.h"
#include "Dialogs.h"
#include "DocTemplate.h"
#include "LayoutFile.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "document/DocRecovery.h"
#include "document/KarveloDoc.h"
#include "resources/Resource.h"
#include "streams/tsSaveNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStatusBar>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr int DEFAULT_INTERVAL_SECONDS = 30;
constexpr int LONGEST_INTERVAL_SECONDS = 24 * 60 * 60;
constexpr int IDLE_MS = 2000;
constexpr int RECORD_FORMAT = 1;

} // namespace

QJsonObject RecoveryRecord::ToJson() const
{
    // Numbers as strings: a JSON number would lose the low digits of nanoseconds and inodes.
    QJsonObject stamp;
    stamp[QStringLiteral("exists")] = file.exists;
    stamp[QStringLiteral("size")] = QString::number(file.size);
    stamp[QStringLiteral("modified")] = QString::number(file.modifiedNs);
    stamp[QStringLiteral("inode")] = QString::number(file.inode);
    stamp[QStringLiteral("device")] = QString::number(file.device);
    QJsonObject json;
    json[QStringLiteral("format")] = RECORD_FORMAT;
    json[QStringLiteral("path")] = path;
    json[QStringLiteral("title")] = title;
    json[QStringLiteral("time")] = time.toString(Qt::ISODateWithMs);
    json[QStringLiteral("file")] = stamp;
    return json;
}

bool RecoveryRecord::FromJson(const QJsonObject& json, RecoveryRecord& record)
{
    if (json.value(QStringLiteral("format")).toInt() != RECORD_FORMAT)
        return false;
    record.path = json.value(QStringLiteral("path")).toString();
    record.title = json.value(QStringLiteral("title")).toString();
    record.time =
        QDateTime::fromString(json.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    const QJsonObject stamp = json.value(QStringLiteral("file")).toObject();
    record.file.exists = stamp.value(QStringLiteral("exists")).toBool();
    record.file.size = stamp.value(QStringLiteral("size")).toString().toLongLong();
    record.file.modifiedNs = stamp.value(QStringLiteral("modified")).toString().toLongLong();
    record.file.inode = stamp.value(QStringLiteral("inode")).toString().toULongLong();
    record.file.device = stamp.value(QStringLiteral("device")).toString().toULongLong();
    return !record.path.isEmpty() || !record.title.isEmpty();
}

CRecovery::CRecovery(const QString& folder, int intervalSeconds, QObject* parent)
    : QObject(parent), m_store(folder, QStringLiteral(".lay")),
      m_intervalMs(std::clamp(intervalSeconds, 0, LONGEST_INTERVAL_SECONDS) * 1000)
{
}

CRecovery::~CRecovery() = default;

QString CRecovery::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

int CRecovery::IntervalSetting()
{
    if (!fw::App())
        return DEFAULT_INTERVAL_SECONDS;
    const int seconds = fw::App()->GetProfileInt(
        QStringLiteral("Recovery"), QStringLiteral("IntervalSeconds"), DEFAULT_INTERVAL_SECONDS);
    // A negative number is a slip, not a wish to lose work: 0 is the way to switch it off.
    return seconds < 0 ? DEFAULT_INTERVAL_SECONDS : seconds;
}

int CRecovery::IdleMs() const
{
    return std::min(IDLE_MS, m_intervalMs);
}

void CRecovery::Attach(CKarveloDoc* doc)
{
    if (Enabled())
        doc->SetRecovery(std::make_unique<CDocRecovery>(doc, this, ++m_documents));
}

bool CRecovery::OpenStore()
{
    if (m_store.IsOpen())
        return true;
    if (m_store.Open())
        return true;
    ReportWriteFailure();
    return false;
}

double CRecovery::EstimateMs(std::size_t count) const
{
    return m_fixedMs + m_perControlUs * static_cast<double>(count) / 1000;
}

void CRecovery::Learn(std::size_t count, double ms)
{
    // Small writes show the cost of creating, syncing and renaming files; large ones the cost
    // of each control. Each estimate follows its measurements halfway.
    constexpr std::size_t SMALL = 2000;
    if (count < SMALL)
        m_fixedMs = (m_fixedMs + ms) / 2;
    else
        m_perControlUs =
            (m_perControlUs + std::max(0.0, ms - m_fixedMs) * 1000 / static_cast<double>(count)) /
            2;
}

void CRecovery::ReportWriteFailure(int error)
{
    // Said once in the status bar: a box on every attempt would interrupt the work it guards.
    if (std::exchange(m_failureTold, true))
        return;
    const QString folder = QDir::toNativeSeparators(m_store.Folder());
    if (fw::App() && fw::App()->MainFrame())
        fw::App()->MainFrame()->statusBar()->showMessage(
            error ? fw::FormatString(resources::IDS_RECOVERY_WRITE_FAILED_BECAUSE, folder,
                                     QString::fromLocal8Bit(std::strerror(error)))
                  : fw::FormatString(resources::IDS_RECOVERY_WRITE_FAILED, folder));
}

void CRecovery::Shutdown()
{
    if (!fw::App())
        return;
    for (fw::Document* document : fw::App()->Documents()) {
        auto* doc = qobject_cast<CKarveloDoc*>(document);
        if (doc && doc->Recovery() && doc->IsModified()) {
            doc->Recovery()->WriteNow();
            doc->Recovery()->Keep();
        }
    }
}

namespace {

// "name (why)" for the list of files that were not read.
QString faultLine(const QString& path, const fw::RecoveryFault& fault)
{
    QString why;
    if (fault.kind == fw::RecoveryFault::SYSTEM)
        why = QString::fromLocal8Bit(std::strerror(fault.error));
    else if (fault.kind == fw::RecoveryFault::NOT_REGULAR)
        why = fw::LoadString(resources::IDS_RECOVERY_NOT_REGULAR);
    else if (fault.kind == fw::RecoveryFault::TOO_LARGE)
        why = fw::LoadString(resources::IDS_RECOVERY_TOO_LARGE);
    const QString name = QFileInfo(path).fileName();
    return why.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, why);
}

// Untitled, never changed, empty: what File New at the start opened.
bool untouched(fw::Document* document)
{
    auto* doc = qobject_cast<CKarveloDoc*>(document);
    return doc && doc->GetPathName().isEmpty() && !doc->IsModified() &&
           doc->m_layout.m_controls.empty() && doc->UndoStack()->count() == 0;
}

} // namespace

CRecovery::Found CRecovery::ReadOrphan(Orphan& orphan, QString& line)
{
    const fw::RecoveryEntry& entry = orphan.entry;
    const fw::RecoveryFault copy = fw::RecoveryStore::CheckCopy(entry.payloadPath);
    if (copy.kind == fw::RecoveryFault::MISSING)
        return Found::NOTHING; // a record whose copy was never written: nothing was lost
    if (copy.kind != fw::RecoveryFault::NONE) {
        line = faultLine(entry.payloadPath, copy);
        return Found::UNREADABLE;
    }
    QJsonObject json;
    fw::RecoveryFault fault;
    if (!fw::RecoveryStore::ReadRecord(entry.recordPath, &json, &fault)) {
        if (fault.kind != fw::RecoveryFault::MISSING) {
            line = faultLine(entry.recordPath, fault);
            return Found::UNREADABLE;
        }
        // A copy whose record never came: an untitled layout named after its file.
        const QFileInfo payload(entry.payloadPath);
        orphan.record.title = payload.completeBaseName();
        orphan.record.time = payload.lastModified().toUTC();
    } else if (!RecoveryRecord::FromJson(json, orphan.record)) {
        line = faultLine(entry.recordPath, {});
        return Found::UNREADABLE;
    }
    // Records read before a fault are no copy of the work: the whole file or nothing.
    int error = 0;
    if (LoadLayoutFile(orphan.layout, QFile::encodeName(entry.payloadPath).constData(), &error) <
        0) {
        line = faultLine(entry.payloadPath,
                         {error ? fw::RecoveryFault::SYSTEM : fw::RecoveryFault::MALFORMED, error});
        return Found::UNREADABLE;
    }
    // Saved after the copy was taken (the run died before it removed the copy).
    if (!orphan.record.path.isEmpty()) {
        LayoutDataObject onDisk;
        if (LoadLayoutFile(onDisk, QFile::encodeName(orphan.record.path).constData()) >= 0 &&
            IdenticalRecords(onDisk.m_controls, orphan.layout.m_controls))
            return Found::NOTHING;
    }
    return Found::OFFER;
}

void CRecovery::OfferOrphans()
{
    std::vector<Orphan> orphans;
    QStringList unreadable;
    std::vector<fw::RecoveryLockFault> lockFaults;
    for (fw::RecoveryEntry& entry : m_store.ClaimOrphans(&lockFaults)) {
        Orphan orphan;
        orphan.entry = std::move(entry);
        QString line;
        switch (ReadOrphan(orphan, line)) {
        case Found::OFFER:
            orphans.push_back(std::move(orphan));
            break;
        case Found::NOTHING:
            RemoveOrphan(orphan.entry);
            break;
        case Found::UNREADABLE:
            unreadable << line;
            fw::RecoveryStore::MarkReported(orphan.entry);
            break;
        }
    }
    for (const fw::RecoveryLockFault& fault : lockFaults)
        unreadable << faultLine(fault.lockPath, {fw::RecoveryFault::SYSTEM, fault.error});
    if (!unreadable.isEmpty())
        fw::MessageBox(fw::FormatString(resources::IDS_RECOVERY_UNREADABLE,
                                        unreadable.join(QLatin1Char('\n')),
                                        QDir::toNativeSeparators(m_store.Folder())),
                       fw::MB_OK, fw::MB_ICONWARNING);
    if (orphans.empty()) {
        m_store.ReleaseOrphans();
        return;
    }

    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.record.time < b.record.time; });
    QStringList lines;
    for (const Orphan& orphan : orphans)
        lines << QStringLiteral("%1 (%2)").arg(
            orphan.record.path.isEmpty() ? orphan.record.title
                                         : QDir::toNativeSeparators(orphan.record.path),
            orphan.record.time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    enum Answer
    {
        RESTORE,
        DISCARD,
        LATER,
    };
    const int answer = fw::MessageBox(
        fw::FormatString(resources::IDS_RECOVERY_QUESTION, lines.join(QLatin1Char('\n'))),
        {fw::LoadString(resources::IDS_RECOVERY_RESTORE),
         fw::LoadString(resources::IDS_RECOVERY_DISCARD),
         fw::LoadString(resources::IDS_RECOVERY_LATER)},
        RESTORE, LATER, fw::MB_ICONQUESTION);
    std::vector<fw::Document*> closing;
    if (answer == RESTORE && fw::App()) {
        const std::vector<fw::Document*> open = fw::App()->Documents();
        std::copy_if(open.begin(), open.end(), std::back_inserter(closing), untouched);
    }
    bool restored = false;
    for (Orphan& orphan : orphans) {
        // A copy goes only once the window that took it over has its own.
        const bool taken = answer == RESTORE && Restore(orphan, closing);
        restored = restored || taken;
        if (taken || answer == DISCARD)
            RemoveOrphan(orphan.entry);
    }
    m_store.ReleaseOrphans();
    // Only the restored windows remain.
    if (restored) {
        for (fw::Document* document : closing)
            document->OnCloseDocument();
    }
}

bool CRecovery::Restore(Orphan& orphan, const std::vector<fw::Document*>& closing)
{
    if (!fw::App() || fw::App()->Templates().empty())
        return false;
    // The title it had, unless a window that stays bears it: then the counter's next one. A
    // layout with a file is titled by its file: it takes no number either.
    QString title = QFileInfo(orphan.record.path).fileName();
    if (orphan.record.path.isEmpty()) {
        const std::vector<fw::Document*> open = fw::App()->Documents();
        const bool taken = std::any_of(open.begin(), open.end(), [&](const fw::Document* other) {
            return other->GetTitle() == orphan.record.title &&
                   std::find(closing.begin(), closing.end(), other) == closing.end();
        });
        if (!taken)
            title = orphan.record.title;
    }
    auto* doc = qobject_cast<CKarveloDoc*>(
        fw::App()->Templates().front()->OpenDocumentFile(QString(), title));
    if (!doc)
        return false;
    doc->TakeRecovered(std::move(orphan.layout.m_controls), orphan.record.path, doc->GetTitle(),
                       orphan.record.file);
    return !doc->Recovery() || doc->Recovery()->WriteNow();
}

void CRecovery::RemoveOrphan(const fw::RecoveryEntry& entry)
{
    fw::RecoveryStore::Remove(entry);
    // What a save killed halfway left beside the copy.
    const QFileInfo payload(entry.payloadPath);
    tsRemoveLeftovers(QFile::encodeName(payload.absolutePath()).toStdString(),
                      QFile::encodeName(payload.fileName()).toStdString());
}
