#include "LayoutChange.h"

#include <algorithm>
#include <cstring>

LayoutRect RectOf(const LayoutControl& c)
{
    return {c.m_x1, c.m_y1, c.m_x2, c.m_y2};
}

void SetRect(LayoutControl& c, const LayoutRect& rect)
{
    c.m_x1 = rect.x1;
    c.m_y1 = rect.y1;
    c.m_x2 = rect.x2;
    c.m_y2 = rect.y2;
}

bool SameBits(const LayoutRect& a, const LayoutRect& b)
{
    return std::memcmp(&a, &b, sizeof(LayoutRect)) == 0;
}

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
