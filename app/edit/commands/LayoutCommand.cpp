#include "LayoutCommand.h"

#include "KarveloDoc.h"

LayoutCommand::LayoutCommand(CKarveloDoc* doc, const QString& text, SelectionState before,
                             SelectionState after, int mergeId)
    : QUndoCommand(text), m_doc(doc), m_before(std::move(before)), m_after(std::move(after)),
      m_mergeId(mergeId), m_gesture(doc->Gesture())
{
}

void LayoutCommand::undo()
{
    CLayoutHint hint = Apply(false);
    m_doc->ApplyChange(hint, m_before);
}

void LayoutCommand::redo()
{
    CLayoutHint hint = Apply(true);
    m_doc->ApplyChange(hint, m_after);
}

bool LayoutCommand::MergeSelection(const LayoutCommand* later)
{
    if (later->m_gesture != m_gesture)
        return false;
    m_after = later->m_after;
    return true;
}

std::vector<LayoutControl>& LayoutCommand::Records() const
{
    return m_doc->m_layout.m_controls;
}

CDrawnNames& LayoutCommand::DrawnNames() const
{
    return m_doc->m_drawnNames;
}
