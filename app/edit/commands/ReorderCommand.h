// Puts controls into a new order: list order is drawing order and file order.
#pragma once

#include "LayoutCommand.h"

#include <vector>

class ReorderCommand : public LayoutCommand
{
public:
    // order[i] is the index, in the list as it is, of the control that goes to index i.
    ReorderCommand(StepTarget* target, const QString& text, std::vector<std::size_t> order,
                   SelectionState before, SelectionState after);

protected:
    LayoutChange Apply(bool redo) override;

private:
    // The span of the list that moves, and where its controls come from within it.
    std::size_t m_first = 0;
    std::vector<std::size_t> m_order;
};
