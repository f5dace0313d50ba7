#include "tools/SelectCommands.h"

#include "CommandIds.h"
#include "Dialogs.h"
#include "Strings.h"
#include "actions/Editing.h"
#include "actions/Selection.h"
#include "document/KarveloDoc.h"
#include "document/LayoutClipboard.h"
#include "resources/Resource.h"
#include "tools/CanvasTool.h"

#include <QUndoStack>

using namespace resources;

CSelectCommands::CSelectCommands(CCanvasHost& host, std::function<bool()> idle)
    : m_host(host), m_idle(std::move(idle))
{
}

bool CSelectCommands::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    using T = CSelectCommands;
    static const fw::CommandTable<CSelectCommands> table = {
        {fw::ID_EDIT_UNDO, &T::OnEditUndo, &T::OnUpdateEditUndo},
        {fw::ID_EDIT_SELECT_ALL, &T::OnSelectAll, &T::OnUpdateSelectAll},
        {fw::ID_EDIT_COPY, &T::OnEditCopy, &T::OnUpdateNeedsSelection},
        {fw::ID_EDIT_CUT, &T::OnEditCut, &T::OnUpdateNeedsSelection},
        {fw::ID_EDIT_PASTE, &T::OnEditPaste, &T::OnUpdateEditPaste},
        {fw::ID_EDIT_CLEAR, &T::OnEditClear, &T::OnUpdateNeedsSelection},
        {ID_EDIT_DUPLICATE, &T::OnEditDuplicate, &T::OnUpdateNeedsSelection},
        {ID_SELECT_SAME_TEXT, &T::OnSelectSameText, &T::OnUpdateNeedsCurrent},
        {ID_SELECT_SAME_RESOURCE, &T::OnSelectSameResource, &T::OnUpdateNeedsCurrent},
        {ID_SELECT_SAME_SIZE, &T::OnSelectSameSize, &T::OnUpdateNeedsCurrent},
    };
    return table.Dispatch(this, id, state);
}

void CSelectCommands::OnEditUndo()
{
    if (CKarveloDoc* doc = m_host.Doc())
        doc->UndoStack()->undo();
}

void CSelectCommands::OnSelectAll()
{
    if (CKarveloDoc* doc = m_host.Doc())
        actions::SelectAll(doc->Model());
}

void CSelectCommands::OnEditCopy()
{
    if (CKarveloDoc* doc = m_host.Doc())
        CopyControlsToClipboard(actions::SelectedRecords(doc->Model()));
}

void CSelectCommands::OnEditCut()
{
    CKarveloDoc* doc = m_host.Doc();
    if (!doc)
        return;
    CopyControlsToClipboard(actions::SelectedRecords(doc->Model()));
    actions::DeleteSelection(doc->Model(), fw::LoadString(IDS_STEP_CUT));
}

void CSelectCommands::OnEditClear()
{
    if (CKarveloDoc* doc = m_host.Doc())
        actions::DeleteSelection(doc->Model(), fw::LoadString(IDS_STEP_DELETE));
}

void CSelectCommands::OnEditPaste()
{
    Insert(true);
}

void CSelectCommands::OnEditDuplicate()
{
    Insert(false);
}

void CSelectCommands::Insert(bool pasted)
{
    CKarveloDoc* doc = m_host.Doc();
    if (!doc)
        return;
    std::string badName;
    bool fitted = true;
    if (pasted) {
        std::vector<LayoutControl> controls;
        QString why;
        if (!ControlsFromClipboard(controls, why)) {
            fw::MessageBox(why, fw::MB_OK, fw::MB_ICONWARNING);
            return;
        }
        fitted = actions::Paste(doc->Model(), std::move(controls), fw::LoadString(IDS_STEP_PASTE),
                                badName);
    } else {
        fitted = actions::Duplicate(doc->Model(), fw::LoadString(IDS_STEP_DUPLICATE), badName);
    }
    if (!fitted)
        fw::MessageBox(fw::FormatString(IDS_PASTE_BAD_NAME, fw::FromBytes(badName)), fw::MB_OK,
                       fw::MB_ICONWARNING);
}

void CSelectCommands::OnSelectSameText()
{
    if (CKarveloDoc* doc = m_host.Doc())
        actions::SelectSame(doc->Model(), actions::Shared::Text);
}

void CSelectCommands::OnSelectSameResource()
{
    if (CKarveloDoc* doc = m_host.Doc())
        actions::SelectSame(doc->Model(), actions::Shared::Resource);
}

void CSelectCommands::OnSelectSameSize()
{
    if (CKarveloDoc* doc = m_host.Doc())
        actions::SelectSame(doc->Model(), actions::Shared::Size);
}

void CSelectCommands::OnUpdateNeedsCurrent(fw::CommandState& state)
{
    const CKarveloDoc* doc = m_host.Doc();
    state.Enable(doc && doc->CurrentIndex() >= 0 && m_idle());
}

void CSelectCommands::OnUpdateEditUndo(fw::CommandState& state)
{
    CKarveloDoc* doc = m_host.Doc();
    state.Enable(doc && doc->UndoStack()->canUndo() && m_idle());
}

void CSelectCommands::OnUpdateSelectAll(fw::CommandState& state)
{
    const CKarveloDoc* doc = m_host.Doc();
    state.Enable(doc && !doc->m_layout.m_controls.empty());
}

void CSelectCommands::OnUpdateNeedsSelection(fw::CommandState& state)
{
    const CKarveloDoc* doc = m_host.Doc();
    state.Enable(doc && actions::HasSelection(doc->Model()) && m_idle());
}

void CSelectCommands::OnUpdateEditPaste(fw::CommandState& state)
{
    state.Enable(m_host.Doc() && ClipboardMayHoldControls() && m_idle());
}
