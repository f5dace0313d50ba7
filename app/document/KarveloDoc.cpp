#include "document/KarveloDoc.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "FileWatch.h"
#include "LayoutFile.h"
#include "Strings.h"
#include "document/DocRecovery.h"
#include "document/ExternalChange.h"
#include "document/LayoutHint.h"
#include "resources/Resource.h"
#include "tsTrace.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <string>

namespace {

const char* const LOAD_FAILED = "Die Datei konnte nicht geladen werden!";
const char* const SAVE_FAILED = "Die Datei konnte nicht gespeichert werden!";

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

CKarveloDoc::CKarveloDoc() : m_external(std::make_unique<CExternalChange>(this))
{
    m_model.SetStepFormats(fw::LoadString(resources::IDS_STEP_OF),
                           fw::LoadString(resources::IDS_STEP_CONTROLS));
    m_model.SetListener(
        [this](const LayoutChange& change, const void* sender) { Changed(change, sender); });
}

// Here, where the keepers of the copy and of the file are complete types.
CKarveloDoc::~CKarveloDoc() = default;

bool CKarveloDoc::OnNewDocument()
{
    if (!fw::Document::OnNewDocument())
        return false;
    StartAfresh(-1);
    return true;
}

bool CKarveloDoc::OnOpenDocument(const QString& path)
{
    if (!fw::Document::OnOpenDocument(path))
        return false;
    // Stamped before reading: a change while it is read shows as a change afterwards.
    const fw::FileStamp stamp = fw::FileStamp::Of(path);
    m_layout.m_controls.clear();
    const HRESULT hr = LoadLayout(path);
    m_external->Watch(path, stamp);
    if (hr < 0) {
        // The window still opens, with the records read before the fault. The file holds more
        // than the window, so saving over it waits for the user to choose it again.
        fw::MessageBox(QString::fromUtf8(LOAD_FAILED), FailureDetails(path, hr, true), fw::MB_OK,
                       fw::MB_ICONWARNING);
        ASSERT_HRESULT(hr);
        SetConfirmReplace();
        StartAfresh(-1);
    } else {
        StartAfresh(m_layout.m_controls.empty() ? -1 : 0);
    }
    return true;
}

void CKarveloDoc::StartAfresh(int current)
{
    UndoStack()->clear();
    SetModifiedFlag(false);
    m_model.StartAfresh(current);
    m_currentControl = m_model.CurrentControl();
}

bool CKarveloDoc::OnSaveDocument(const QString& path)
{
    if (!m_external->MaySave(path) || SaveLayout(path) < 0)
        return false;
    m_external->Saved(path);
    return true;
}

void CKarveloDoc::OnCloseDocument()
{
    // Closed after the save question was answered: the copy is not wanted any more.
    if (m_recovery)
        m_recovery->Discard();
    fw::Document::OnCloseDocument();
}

void CKarveloDoc::SetRecovery(std::unique_ptr<CDocRecovery> recovery)
{
    m_recovery = std::move(recovery);
}

void CKarveloDoc::TakeRecovered(std::vector<LayoutControl> records, const QString& path,
                                const QString& title, const fw::FileStamp& recorded)
{
    m_layout.m_controls = std::move(records);
    StartAfresh(m_layout.m_controls.empty() ? -1 : 0);
    if (path.isEmpty()) {
        // The title it had, unless a window open now bears it: then the new one it was given.
        const auto documents = fw::App() ? fw::App()->Documents() : std::vector<fw::Document*>();
        if (std::none_of(documents.begin(), documents.end(), [&](const fw::Document* other) {
                return other != this && other->GetTitle() == title;
            }))
            SetTitle(title);
    } else {
        SetPathName(path);
        m_external->Recovered(path, recorded);
    }
    SetModifiedFlag(true);
    UpdateAllViews(nullptr);
}

HRESULT CKarveloDoc::LoadLayout(const QString& path)
{
    return LoadLayoutFile(m_layout, nativePath(path).constData(), &m_systemError);
}

HRESULT CKarveloDoc::SaveLayout(const QString& path)
{
    // A failed save never costs the last good copy: the old file stays until the new one is
    // complete on disk.
    const HRESULT hr = SaveLayoutFile(m_layout, nativePath(path).constData(), &m_systemError);
    if (hr < 0) {
        fw::MessageBox(QString::fromUtf8(SAVE_FAILED), FailureDetails(path, hr, false), fw::MB_OK,
                       fw::MB_ICONWARNING);
    }
    return hr;
}

QString CKarveloDoc::FailureDetails(const QString& path, HRESULT hr, bool loading) const
{
    // The system's words where the system refused; ours where the bytes are not a layout.
    const int error = m_systemError ? m_systemError : tsSystemErrorOf(hr);
    QString reason = QString::fromLocal8Bit(tsResultText(hr));
    std::uint32_t version = 0;
    if (error)
        reason = QString::fromLocal8Bit(tsSystemErrorText(error));
    else if (loading && ReadLayoutVersion(nativePath(path).constData(), version) && version != 1 &&
             version != 2)
        reason = fw::FormatString(resources::IDS_REASON_VERSION, QString::number(version));
    else if (loading && reason.isEmpty())
        reason = fw::LoadString(resources::IDS_REASON_SHORT);
    else if (reason.isEmpty())
        reason = fw::FormatString(
            resources::IDS_REASON_CODE,
            QStringLiteral("0x%1").arg(static_cast<unsigned>(hr), 8, 16, QLatin1Char('0')));
    TS_TRACE("%s: %s\n", nativePath(path).constData(), reason.toLocal8Bit().constData());
    return fw::FormatString(resources::IDS_FAILURE_DETAILS, QDir::toNativeSeparators(path), reason);
}

void CKarveloDoc::StageNewControl(float x, float y)
{
    m_newControl.m_x1 = m_newControl.m_x2 = x;
    m_newControl.m_y1 = m_newControl.m_y2 = y;
}

void CKarveloDoc::MoveNewControl(float x, float y)
{
    m_newControl.m_x2 = x;
    m_newControl.m_y2 = y;
}

void CKarveloDoc::NameNewControl()
{
    const std::uint32_t number = m_model.NextDrawnNumber();
    m_newControl.m_id = number;
    m_newControl.m_name = CDrawnNames::NameFor(number);
}

void CKarveloDoc::AddNewControl(fw::View* sender)
{
    m_model.InsertControls(sender, {{m_layout.m_controls.size(), m_newControl}},
                           fw::LoadString(resources::IDS_STEP_DRAW));
}

void CKarveloDoc::Changed(const LayoutChange& change, const void* sender)
{
    m_currentControl = m_model.CurrentControl();
    // The sender as one of this document's views; anyone else hears the change too.
    fw::View* except = nullptr;
    for (fw::View* view : GetViews())
        if (static_cast<const void*>(view) == sender)
            except = view;
    const CLayoutHint hint(change);
    UpdateAllViews(except, &hint);
}

void CKarveloDoc::OnLayoutUndo()
{
    UndoStack()->undo();
}

void CKarveloDoc::OnEditRedo()
{
    UndoStack()->redo();
}

void CKarveloDoc::OnUpdateLayoutUndo(fw::CommandState& state)
{
    state.Enable(UndoStack()->canUndo());
    if (UndoStack()->canUndo())
        state.tooltip = fw::FormatString(resources::IDS_UNDO_STEP, UndoStack()->undoText());
}

void CKarveloDoc::OnUpdateEditRedo(fw::CommandState& state)
{
    state.Enable(UndoStack()->canRedo());
    if (UndoStack()->canRedo())
        state.tooltip = fw::FormatString(resources::IDS_REDO_STEP, UndoStack()->redoText());
}

bool CKarveloDoc::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CKarveloDoc> table = {
        {resources::ID_LAYOUT_UNDO, &CKarveloDoc::OnLayoutUndo, &CKarveloDoc::OnUpdateLayoutUndo},
        {fw::ID_EDIT_REDO, &CKarveloDoc::OnEditRedo, &CKarveloDoc::OnUpdateEditRedo},
    };
    return table.Dispatch(this, id, state) || m_arrange.OnCmdMsg(id, state) ||
           fw::Document::OnCmdMsg(id, state);
}
