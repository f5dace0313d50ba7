#include "ChangeRectsCommand.h"

#include <algorithm>

ChangeRectsCommand::ChangeRectsCommand(StepTarget* target, const QString& text,
                                       std::vector<std::size_t> indices,
                                       std::vector<LayoutRect> rects,
                                       const SelectionState& selection, int mergeId)
    : LayoutCommand(target, text, selection, selection, mergeId), m_indices(std::move(indices)),
      m_rects(std::move(rects))
{
    setObsolete(!Changes());
}

bool ChangeRectsCommand::Changes() const
{
    const std::vector<LayoutControl>& records = Records();
    for (std::size_t i = 0; i < m_indices.size(); ++i)
        if (!SameBits(RectOf(records[m_indices[i]]), m_rects[i]))
            return true;
    return false;
}

LayoutChange ChangeRectsCommand::Apply(bool)
{
    std::vector<LayoutControl>& records = Records();
    for (std::size_t i = 0; i < m_indices.size(); ++i) {
        LayoutControl& record = records[m_indices[i]];
        const LayoutRect live = RectOf(record);
        SetRect(record, m_rects[i]);
        m_rects[i] = live;
    }
    LayoutChange change;
    change.flags = LayoutChange::RECORDS;
    change.indices = m_indices;
    return change;
}

bool ChangeRectsCommand::mergeWith(const QUndoCommand* other)
{
    const auto* later = dynamic_cast<const ChangeRectsCommand*>(other);
    if (!later || later->m_indices != m_indices || !MergeSelection(later))
        return false;
    // This step keeps the rectangles from before its first change; the records hold the latest.
    setObsolete(!Changes());
    return true;
}
