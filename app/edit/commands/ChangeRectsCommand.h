// Changes the rectangles of many controls at once, as a move of a large selection does: the
// command holds the indices and four floats each, never whole records, and swaps them with
// the live ones on every undo and redo.
#pragma once

#include "LayoutCommand.h"

#include <vector>

class ChangeRectsCommand : public LayoutCommand
{
public:
    ChangeRectsCommand(StepTarget* target, const QString& text, std::vector<std::size_t> indices,
                       std::vector<LayoutRect> rects, const SelectionState& selection, int mergeId);
    bool mergeWith(const QUndoCommand* other) override;

protected:
    LayoutChange Apply(bool redo) override;

private:
    bool Changes() const;

    std::vector<std::size_t> m_indices; // ascending
    std::vector<LayoutRect> m_rects;
};
