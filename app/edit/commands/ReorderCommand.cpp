#include "ReorderCommand.h"

#include "LayoutDataObject.h"

ReorderCommand::ReorderCommand(StepTarget* target, const QString& text,
                               std::vector<std::size_t> order, SelectionState before,
                               SelectionState after)
    : LayoutCommand(target, text, std::move(before), std::move(after))
{
    // Only the span between the first and the last control that moves is kept.
    std::size_t first = 0;
    std::size_t last = order.size();
    while (first < last && order[first] == first)
        ++first;
    while (last > first && order[last - 1] == last - 1)
        --last;
    m_first = first;
    m_order.assign(order.begin() + static_cast<std::ptrdiff_t>(first),
                   order.begin() + static_cast<std::ptrdiff_t>(last));
    setObsolete(m_order.empty());
}

LayoutChange ReorderCommand::Apply(bool redo)
{
    std::vector<LayoutControl>& records = Records();
    std::vector<LayoutControl> span(m_order.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        // Redo takes each control from where the order says; undo puts it back there.
        if (redo)
            span[i] = std::move(records[m_order[i]]);
        else
            span[m_order[i] - m_first] = std::move(records[m_first + i]);
    }
    std::move(span.begin(), span.end(), records.begin() + static_cast<std::ptrdiff_t>(m_first));
    LayoutChange hint;
    hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
    return hint;
}
