#include "LayoutChange.h"

#include <algorithm>

SelectionState SelectionState::Only(int index)
{
    SelectionState state;
    state.current = index;
    if (index >= 0)
        state.selected.push_back(static_cast<std::size_t>(index));
    return state;
}

bool SelectionState::Contains(std::size_t index) const
{
    return std::binary_search(selected.begin(), selected.end(), index);
}

bool LayoutChange::Touches(std::size_t index) const
{
    if (!(flags & RECORDS))
        return false;
    return indices.empty() || std::find(indices.begin(), indices.end(), index) != indices.end();
}
