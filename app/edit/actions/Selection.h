// Operations on the selection of a layout, and what they need to know about it. None of them
// is a step: a selection is not undone.
#pragma once

#include "EditModel.h"

#include <vector>

namespace actions {

// The selected controls with their indices, in list order.
IndexedControls SelectedControls(const EditModel& model);
// The same records without their indices.
std::vector<LayoutControl> SelectedRecords(const EditModel& model);

// index alone, current.
void SelectAlone(EditModel& model, int index);
// index into the selection (and current) or out of it (the current one moves to the last of
// the rest).
void Toggle(EditModel& model, int index);
// Every control; the current one stays current, or the last becomes current.
void SelectAll(EditModel& model);
void SelectNone(EditModel& model);

// What the arranging commands need to act.
bool HasSelection(const EditModel& model);
bool CanDistribute(const EditModel& model);
bool CanSameSize(const EditModel& model);
// Raise: the selection is not the end of the list already; lower: not its start.
bool CanRaise(const EditModel& model);
bool CanLower(const EditModel& model);

} // namespace actions
