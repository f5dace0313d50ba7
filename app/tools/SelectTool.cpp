#include "SelectTool.h"

#include "CommandIds.h"
#include "KarveloDoc.h"
#include "KarveloView.h"
#include "LayoutPainter.h"
#include "Strings.h"
#include "resources/Resource.h"
#include "tools/HitTest.h"

#include <QKeyEvent>
#include <QMouseEvent>

void CSelectTool::MousePress(QMouseEvent* event)
{
    CKarveloDoc* doc = Doc();
    if (!doc || event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position() - QPointF(CANVAS_MARGIN, CANVAS_MARGIN);
    const int hit = TopmostControlAt(doc->m_layout.m_controls, at.x(), at.y());
    // A press on empty canvas leaves the current control as it is.
    if (hit >= 0)
        doc->SetCurrentControl(nullptr, hit);
}

bool CSelectTool::KeyPress(QKeyEvent* event)
{
    CKarveloDoc* doc = Doc();
    if (!doc)
        return false;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
        modifiers == Qt::NoModifier) {
        DeleteCurrent();
        return true;
    }
    if ((event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        doc->UndoStack()->redo();
        return true;
    }
    return false;
}

void CSelectTool::DeleteCurrent()
{
    CKarveloDoc* doc = Doc();
    const int current = doc->CurrentIndex();
    if (current < 0)
        return;
    // The control that followed the deleted one becomes current; after the last, the one
    // before it.
    const int left = static_cast<int>(doc->m_layout.m_controls.size()) - 1;
    doc->RemoveControls(nullptr, {static_cast<std::size_t>(current)},
                        left == 0 ? -1 : std::min(current, left - 1),
                        fw::LoadString(resources::IDS_STEP_DELETE));
}

void CSelectTool::OnEditUndo()
{
    if (CKarveloDoc* doc = Doc())
        doc->UndoStack()->undo();
}

void CSelectTool::OnUpdateEditUndo(fw::CommandState& state)
{
    CKarveloDoc* doc = Doc();
    state.Enable(doc && doc->UndoStack()->canUndo());
}

bool CSelectTool::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CSelectTool> table = {
        {fw::ID_EDIT_UNDO, &CSelectTool::OnEditUndo, &CSelectTool::OnUpdateEditUndo},
    };
    return table.Dispatch(this, id, state);
}
