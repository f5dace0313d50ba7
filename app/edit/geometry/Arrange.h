// Align, distribute, same size and list order: pure arithmetic on the selected controls.
#pragma once

#include "geometry/Transform.h"

#include <vector>

enum class Alignment
{
    Left,
    HorizontalCentre,
    Right,
    Top,
    VerticalCentre,
    Bottom,
};

// The box to align to: around the controls when there are two or more, else the screen.
LayoutBox AlignmentBox(const IndexedControls& controls);

// Each control moves, both corners alike, until its visual edge or middle meets the box's.
IndexedControls Aligned(IndexedControls controls, Alignment alignment, const LayoutBox& box);

// Equal gaps between three or more controls, ordered by their visual left (top) edges; the
// first and the last stay where they are.
IndexedControls Distributed(IndexedControls controls, bool horizontally);

// The controls take model's width and/or height and keep their first corner.
IndexedControls SameSize(IndexedControls controls, const LayoutControl& model, bool width,
                         bool height);

enum class Order
{
    Raise,    // one place later in the list, drawn above the next control
    Lower,    // one place earlier
    ToTop,    // to the end of the list: drawn last
    ToBottom, // to the start
};

// The new list order (order[i]: the old index of what goes to i) when the selected controls
// (ascending) move; they keep their order among themselves.
std::vector<std::size_t> Reordered(std::size_t count, const std::vector<std::size_t>& selected,
                                   Order order);
