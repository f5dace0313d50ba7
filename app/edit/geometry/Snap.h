// Snapping of moved and resized edges to the layout screen, to other controls and to a grid.
#pragma once

#include "LayoutDataObject.h"

#include <optional>
#include <vector>

// The lines one axis can snap to: the screen's edges and middle, every control's edges and
// middle that is not being moved, and a grid when it is on (spacing 0: none).
struct SnapLines
{
    std::vector<double> xs;
    std::vector<double> ys;
    double grid = 0;

    // skip: ascending indices of the controls that move.
    static SnapLines For(const std::vector<LayoutControl>& controls,
                         const std::vector<std::size_t>& skip, double grid);
};

struct Snap
{
    double shift = 0; // what the candidate moves by to reach the line
    double line = 0;  // where it lands
};

// The nearest line to any of candidates (the edges and middles that move) within tolerance,
// as the shift that brings that candidate onto it; nothing when none is close enough.
std::optional<Snap> SnapAxis(const std::vector<double>& candidates,
                             const std::vector<double>& lines, double grid, double tolerance);
