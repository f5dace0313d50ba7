#include "InsertRemoveCommand.h"

#include "DrawnNames.h"

InsertRemoveCommand::InsertRemoveCommand(StepTarget* target, const QString& text, bool inserts,
                                         IndexedControls items, SelectionState before,
                                         SelectionState after)
    : LayoutCommand(target, text, std::move(before), std::move(after)), m_inserts(inserts),
      m_items(std::move(items))
{
    setObsolete(m_items.empty());
}

InsertRemoveCommand* InsertRemoveCommand::Insert(StepTarget* target, const QString& text,
                                                 IndexedControls items, SelectionState before,
                                                 SelectionState after)
{
    return new InsertRemoveCommand(target, text, true, std::move(items), std::move(before),
                                   std::move(after));
}

InsertRemoveCommand* InsertRemoveCommand::Remove(StepTarget* target, const QString& text,
                                                 const std::vector<std::size_t>& indices,
                                                 SelectionState before, SelectionState after)
{
    IndexedControls items;
    items.reserve(indices.size());
    for (std::size_t index : indices)
        items.emplace_back(index, LayoutControl());
    return new InsertRemoveCommand(target, text, false, std::move(items), std::move(before),
                                   std::move(after));
}

LayoutChange InsertRemoveCommand::Apply(bool redo)
{
    LayoutChange hint;
    hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
    if (redo == m_inserts) {
        // Where the records arrive; a removal shifts all that follow, so it names none.
        for (const auto& item : m_items)
            hint.indices.push_back(item.first);
        MoveIntoList();
    } else {
        MoveOutOfList();
    }
    return hint;
}

// Each direction is one pass in place from the first index involved, so that appending a
// control costs one move and removing every control of a large layout no more than one pass.
void InsertRemoveCommand::MoveIntoList()
{
    std::vector<LayoutControl>& records = Records();
    CDrawnNames& names = DrawnNames();
    if (m_items.size() > RECOUNT_ABOVE)
        names.Invalidate();
    for (const auto& item : m_items)
        names.Added(item.second);
    std::size_t source = records.size();
    records.resize(records.size() + m_items.size());
    auto item = m_items.rbegin();
    for (std::size_t target = records.size(); target-- > 0 && item != m_items.rend();) {
        if (item->first == target)
            records[target] = std::move((item++)->second);
        else
            records[target] = std::move(records[--source]);
    }
}

void InsertRemoveCommand::MoveOutOfList()
{
    std::vector<LayoutControl>& records = Records();
    if (m_items.empty())
        return;
    auto item = m_items.begin();
    std::size_t kept = item->first;
    for (std::size_t i = kept; i < records.size(); ++i) {
        if (item != m_items.end() && item->first == i)
            (item++)->second = std::move(records[i]);
        else
            records[kept++] = std::move(records[i]);
    }
    records.resize(kept);
    CDrawnNames& names = DrawnNames();
    if (m_items.size() > RECOUNT_ABOVE)
        names.Invalidate();
    for (const auto& item : m_items)
        names.Removed(item.second);
}
