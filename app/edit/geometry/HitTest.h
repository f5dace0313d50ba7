// Which control lies under a point of the layout.
#pragma once

#include "LayoutDataObject.h"

#include <vector>

// The last control in list order (the one drawn on top) whose rectangle, normalised, contains
// (x, y) with its edges or lies within tolerance of its outline; -1 when there is none. NaN
// coordinates never contain anything.
int TopmostControlAt(const std::vector<LayoutControl>& controls, double x, double y,
                     double tolerance = 0.0);

// Whether (x, y) is inside control's normalised rectangle grown by tolerance on every side.
bool ControlContains(const LayoutControl& control, double x, double y, double tolerance = 0.0);
