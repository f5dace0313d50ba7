#include "document/ExternalChange.h"

#include "Application.h"
#include "Dialogs.h"
#include "LayoutFile.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "document/KarveloDoc.h"
#include "resources/Resource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

CExternalChange::CExternalChange(CKarveloDoc* doc) : m_doc(doc)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RETRY_MS);
    connect(&m_retry, &QTimer::timeout, this, &CExternalChange::Attempt);
    connect(&m_watch, &fw::FileWatch::changed, this, &CExternalChange::OnChanged);
}

void CExternalChange::Watch(const QString& path, const fw::FileStamp& known)
{
    m_retry.stop();
    m_retries = 0;
    m_confirmSave = false;
    m_markedModified = false;
    m_watch.Watch(path, known);
}

void CExternalChange::Recovered(const QString& path, const fw::FileStamp& recorded)
{
    const fw::FileStamp now = fw::FileStamp::Of(path);
    Watch(path, now);
    m_confirmSave = now.exists && now != recorded;
}

bool CExternalChange::MaySave(const QString& path)
{
    if (!m_watch.Watching() || QFileInfo(path).absoluteFilePath() != m_watch.Path())
        return true;
    const fw::FileStamp now = fw::FileStamp::Of(path);
    // Also a change whose notice has not come yet.
    if (!now.exists || (!m_confirmSave && now == m_watch.Known()))
        return true;
    return fw::MessageBox(fw::FormatString(resources::IDS_FILE_REPLACE_ASK, shown(path)),
                          fw::MB_YESNO, fw::MB_ICONWARNING) == fw::IDYES;
}

void CExternalChange::Saved(const QString& path)
{
    Watch(path, fw::FileStamp::Of(path));
}

void CExternalChange::OnChanged()
{
    if (m_asking) {
        m_changedWhileAsking = true;
        return;
    }
    // A retry that is waiting looks at the newest state anyway.
    if (m_retry.isActive())
        return;
    m_retries = 0;
    Attempt();
}

void CExternalChange::Attempt()
{
    const QString path = m_watch.Path();
    const fw::FileStamp before = fw::FileStamp::Of(path);
    if (path.isEmpty() || before == m_watch.Known())
        return;
    if (!before.exists) {
        FileGone(before);
        return;
    }
    LayoutDataObject loaded;
    if (LoadLayoutFile(loaded, QFile::encodeName(path).constData()) < 0) {
        // The other program may still be writing it.
        if (m_retries < RETRIES) {
            ++m_retries;
            m_retry.start();
            return;
        }
        m_retries = 0;
        // Told once for this state of the file; the window keeps what it has, and a save
        // over the file asks first.
        m_watch.SetKnown(before);
        m_confirmSave = true;
        if (Ask(fw::FormatString(resources::IDS_FILE_UNREADABLE, shown(path)), fw::MB_OK,
                fw::MB_ICONWARNING))
            AfterAsking();
        return;
    }
    m_retries = 0;

    const bool onlyMarked = m_markedModified && m_doc->UndoStack()->isClean();
    if (IdenticalRecords(loaded.m_controls, m_doc->m_layout.m_controls)) {
        m_watch.SetKnown(before);
        if (onlyMarked)
            m_doc->SetModifiedFlag(false);
        m_markedModified = false;
        return;
    }
    if (m_doc->IsModified() && !onlyMarked) {
        const std::optional<int> answer =
            Ask(fw::FormatString(resources::IDS_FILE_CHANGED_ASK, shown(path)), fw::MB_YESNO,
                fw::MB_ICONQUESTION);
        if (!answer)
            return;
        if (*answer != fw::IDYES) {
            m_watch.SetKnown(before);
            m_confirmSave = true;
        } else {
            Reload(std::move(loaded.m_controls), before);
        }
        AfterAsking();
        return;
    }
    Reload(std::move(loaded.m_controls), before);
}

std::optional<int> CExternalChange::Ask(const QString& text, fw::MessageButtons buttons,
                                        fw::MessageIcon icon)
{
    QPointer<CExternalChange> alive(this);
    m_asking = true;
    m_changedWhileAsking = false;
    const int answer = fw::MessageBox(text, buttons, icon);
    if (!alive)
        return std::nullopt;
    m_asking = false;
    return answer;
}

void CExternalChange::AfterAsking()
{
    // What happened while the box was open has its turn now.
    if (m_changedWhileAsking)
        QMetaObject::invokeMethod(this, &CExternalChange::OnChanged, Qt::QueuedConnection);
}

void CExternalChange::FileGone(const fw::FileStamp& now)
{
    m_watch.SetKnown(now);
    if (!m_doc->IsModified())
        m_markedModified = true;
    // Closing asks, and Save writes the file again.
    m_doc->SetModifiedFlag(true);
    ShowStatus(resources::IDS_FILE_GONE);
}

void CExternalChange::Reload(std::vector<LayoutControl> records, const fw::FileStamp& stamp)
{
    m_doc->Model().NewGesture();
    m_doc->Model().ReplaceControls(nullptr, std::move(records),
                                   fw::LoadString(resources::IDS_STEP_RELOAD));
    // The window holds the file now; Undo makes it modified again.
    m_doc->SetModifiedFlag(false);
    m_doc->SetConfirmReplace(false);
    m_watch.SetKnown(stamp);
    m_confirmSave = false;
    m_markedModified = false;
    ShowStatus(resources::IDS_FILE_RELOADED);
}

void CExternalChange::ShowStatus(unsigned id) const
{
    fw::MdiFrame* frame = fw::App() ? fw::App()->MainFrame() : nullptr;
    if (!frame)
        return;
    frame->ShowNotice(fw::FormatString(id, shown(m_watch.Path())));
    // The change came without a key or a click: Undo's button learns of it here.
    frame->ScheduleCommandUI();
}
