// Distances between the selection and what lies around it, as the canvas shows them: a line
// along one axis from one edge to the other, and its length in layout pixels.
#pragma once

#include "geometry/Transform.h"

#include <vector>

struct Measure
{
    bool horizontal = true; // along x (a gap to the left or right) or along y
    double from = 0;        // where the line starts and ends on its axis
    double to = 0;
    double at = 0; // where it runs on the other axis
    double Length() const { return to - from; }
};

// From the selection's box to target's on each side that faces it: the gap to a box beside,
// above or below, or, where target holds the selection on an axis, the room to each of its
// two edges on that axis. Nothing on an axis where the boxes only partly overlap.
std::vector<Measure> MeasuresBetween(const LayoutBox& selection, const LayoutBox& target);

// The gap from the selection to other, which lies beyond side (LEFT, RIGHT, TOP or BOTTOM).
Measure GapTo(const LayoutBox& selection, const LayoutBox& other, int side);

// The gap to the nearest box on each of the four sides of the selection, among the controls
// that are not skip (ascending): a control counts on a side when it lies wholly beyond that
// side and overlaps the selection on the other axis.
std::vector<Measure> NearestMeasures(const LayoutBox& selection,
                                     const std::vector<LayoutControl>& controls,
                                     const std::vector<std::size_t>& skip);
