// Align, distribute, same size and list order of the selected controls: each one step.
#pragma once

#include "EditModel.h"
#include "geometry/Arrange.h"

namespace actions {

// To the box around the selection, or to the screen when one control is selected.
void Align(EditModel& model, Alignment alignment, const QString& step);
void Distribute(EditModel& model, bool horizontally, const QString& step);
// The selected controls take the current one's width and/or height.
void SameSize(EditModel& model, bool width, bool height, const QString& step);
void Reorder(EditModel& model, Order order, const QString& step);

} // namespace actions
