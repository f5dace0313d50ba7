#include "KarveloDoc.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "DocRecovery.h"
#include "ExternalChange.h"
#include "FileWatch.h"
#include "KarveloView.h"
#include "KarveloView_Controls.h"
#include "LayoutFile.h"
#include "Strings.h"
#include "commands/ChangeControlsCommand.h"
#include "commands/InsertRemoveCommand.h"
#include "commands/ReorderCommand.h"
#include "commands/ReplaceAllCommand.h"
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
    // A step undone or redone ends the gesture: what follows never merges into it.
    connect(UndoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            NewGesture();
    });
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
    m_drawnNames.Invalidate();
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
    SetSelectionState(SelectionState::Only(current));
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
    m_drawnNames.Invalidate();
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
    const std::uint32_t number = m_drawnNames.NextNumber(m_layout.m_controls);
    m_newControl.m_id = number;
    m_newControl.m_name = CDrawnNames::NameFor(number);
}

void CKarveloDoc::AddNewControl(fw::View* sender)
{
    InsertControls(sender, {{m_layout.m_controls.size(), m_newControl}},
                   fw::LoadString(resources::IDS_STEP_DRAW));
}

QString CKarveloDoc::StepText(const QString& text, std::size_t count, const tstring& name)
{
    if (count > 1)
        return fw::FormatString(
            resources::IDS_STEP_OF, text,
            fw::FormatString(resources::IDS_STEP_CONTROLS, QString::number(count)));
    if (count == 1 && !name.empty())
        return fw::FormatString(resources::IDS_STEP_OF, text, fw::FromBytes(name));
    return text;
}

void CKarveloDoc::Push(fw::View* sender, LayoutCommand* command)
{
    if (command->isObsolete()) {
        delete command;
        return;
    }
    m_sender = sender;
    m_pushing = true;
    UndoStack()->push(command);
    m_pushing = false;
    m_sender = nullptr;
}

namespace {

// Steps trust their indices; anything that asks for one checks them here first.
bool ascendingBelow(const std::vector<std::size_t>& indices, std::size_t limit)
{
    for (std::size_t i = 0; i < indices.size(); ++i)
        if (indices[i] >= limit || (i > 0 && indices[i] <= indices[i - 1]))
            return false;
    return true;
}

std::vector<std::size_t> indicesOf(const IndexedControls& values)
{
    std::vector<std::size_t> indices;
    indices.reserve(values.size());
    for (const auto& value : values)
        indices.push_back(value.first);
    return indices;
}

} // namespace

void CKarveloDoc::ChangeControls(fw::View* sender, IndexedControls values, const QString& text,
                                 int mergeId)
{
    if (values.empty() || !ascendingBelow(indicesOf(values), m_layout.m_controls.size()))
        return;
    const QString named = StepText(text, values.size(), values.front().second.m_name);
    Push(sender, new ChangeControlsCommand(this, named, std::move(values), m_selection, mergeId));
}

void CKarveloDoc::ChangeControl(fw::View* sender, std::size_t index, const LayoutControl& value,
                                const QString& text, int mergeId)
{
    ChangeControls(sender, {{index, value}}, text, mergeId);
}

void CKarveloDoc::InsertControls(fw::View* sender, IndexedControls records, const QString& text)
{
    if (records.empty() ||
        !ascendingBelow(indicesOf(records), m_layout.m_controls.size() + records.size()))
        return;
    SelectionState after;
    for (const auto& record : records)
        after.selected.push_back(record.first);
    after.current = static_cast<int>(after.selected.back());
    const QString named = StepText(text, records.size(), records.front().second.m_name);
    Push(sender, InsertRemoveCommand::Insert(this, named, std::move(records), m_selection,
                                             std::move(after)));
}

void CKarveloDoc::RemoveControls(fw::View* sender, const std::vector<std::size_t>& indices,
                                 int newCurrent, const QString& text)
{
    if (indices.empty() || !ascendingBelow(indices, m_layout.m_controls.size()))
        return;
    const QString named = StepText(text, indices.size(), m_layout.m_controls[indices[0]].m_name);
    Push(sender, InsertRemoveCommand::Remove(this, named, indices, m_selection,
                                             SelectionState::Only(newCurrent)));
}

void CKarveloDoc::ReorderControls(fw::View* sender, std::vector<std::size_t> order,
                                  const QString& text)
{
    if (order.size() != m_layout.m_controls.size())
        return;
    // The selection moves with its controls; order must name every control once.
    std::vector<std::size_t> where(order.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] >= order.size() || where[order[i]] != order.size())
            return;
        where[order[i]] = i;
    }
    SelectionState after;
    for (std::size_t index : m_selection.selected)
        after.selected.push_back(where[index]);
    std::sort(after.selected.begin(), after.selected.end());
    after.current = m_selection.current < 0
                        ? -1
                        : static_cast<int>(where[static_cast<std::size_t>(m_selection.current)]);
    const std::size_t moved = m_selection.selected.size();
    const QString named =
        StepText(text, moved, moved ? m_layout.m_controls[m_selection.selected[0]].m_name : "");
    Push(sender, new ReorderCommand(this, named, std::move(order), m_selection, std::move(after)));
}

void CKarveloDoc::ReplaceControls(fw::View* sender, std::vector<LayoutControl> records,
                                  const QString& text)
{
    SelectionState after = SelectionState::Only(records.empty() ? -1 : 0);
    Push(sender,
         new ReplaceAllCommand(this, text, std::move(records), m_selection, std::move(after)));
}

void CKarveloDoc::SetCurrentControl(fw::View* sender, int index)
{
    SetSelection(sender, SelectionState::Only(index));
}

void CKarveloDoc::SetSelection(fw::View* sender, SelectionState selection)
{
    if (selection == m_selection)
        return;
    CLayoutHint hint;
    hint.flags = CLayoutHint::SELECTION;
    if (selection.current != m_selection.current)
        hint.flags |= CLayoutHint::CURRENT;
    SetSelectionState(std::move(selection));
    UpdateAllViews(sender, &hint);
}

void CKarveloDoc::SetSingleSelection(bool single)
{
    m_single = single;
    if (!single)
        return;
    const int current = m_selection.current >= 0      ? m_selection.current
                        : m_layout.m_controls.empty() ? -1
                                                      : 0;
    SetSelection(nullptr, SelectionState::Only(current));
}

void CKarveloDoc::SetSelectionState(SelectionState selection)
{
    m_selection = std::move(selection);
    if (m_single && m_selection.selected.size() != (m_selection.current >= 0 ? 1u : 0u))
        m_selection = SelectionState::Only(m_selection.current);
    const auto count = m_layout.m_controls.size();
    // A state from a step always fits its list; anything else is trimmed to it.
    std::erase_if(m_selection.selected, [count](std::size_t index) { return index >= count; });
    if (m_selection.current >= static_cast<int>(count))
        m_selection.current = -1;
    m_currentControl = m_selection.current < 0
                           ? nullptr
                           : &m_layout.m_controls[static_cast<std::size_t>(m_selection.current)];
}

void CKarveloDoc::ApplyChange(const CLayoutHint& hint, const SelectionState& step)
{
    SelectionState selection = step;
    // A step from the Select tool undone in the Draw tool may have had no current control:
    // the Draw tool keeps one while there are controls.
    if (m_single && selection.current < 0 && !m_layout.m_controls.empty())
        selection = SelectionState::Only(0);
    CLayoutHint told = hint;
    if (selection.current != m_selection.current)
        told.flags |= CLayoutHint::CURRENT;
    if (selection.selected != m_selection.selected)
        told.flags |= CLayoutHint::SELECTION;
    SetSelectionState(selection);
    UpdateAllViews(m_sender, &told);
}

void CKarveloDoc::ReleaseView(fw::View* closing)
{
    if (m_panel == closing)
        m_panel = nullptr;
    if (m_canvas == closing)
        m_canvas = nullptr;
    for (fw::View* view : GetViews()) {
        if (view == closing)
            continue;
        if (!m_panel)
            m_panel = qobject_cast<CKarveloView_Controls*>(view);
        if (!m_canvas)
            m_canvas = qobject_cast<CKarveloView*>(view);
    }
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
    return table.Dispatch(this, id, state) || fw::Document::OnCmdMsg(id, state);
}
