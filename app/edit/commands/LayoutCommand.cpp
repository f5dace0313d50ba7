#include "LayoutCommand.h"

LayoutCommand::LayoutCommand(StepTarget* target, const QString& text, SelectionState before,
                             SelectionState after, int mergeId)
    : QUndoCommand(text), m_target(target), m_before(std::move(before)), m_after(std::move(after)),
      m_mergeId(mergeId), m_gesture(target->gesture)
{
}

void LayoutCommand::undo()
{
    Applied(Apply(false), m_before);
}

void LayoutCommand::redo()
{
    Applied(Apply(true), m_after);
}

void LayoutCommand::Applied(const LayoutChange& change, const SelectionState& selection)
{
    m_target->applied(change, selection);
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
    return m_target->records;
}

CDrawnNames& LayoutCommand::DrawnNames() const
{
    return m_target->drawnNames;
}
