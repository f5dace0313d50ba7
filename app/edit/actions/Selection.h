// Operations on the selection of a layout, and what they need to know about it. None of them
// is a step: a selection is not undone.
#pragma once

#include "EditModel.h"
#include "geometry/Transform.h"
#include "query/ControlQuery.h"

#include <vector>

namespace actions {

// The selected controls with their indices, in list order.
IndexedControls SelectedControls(const EditModel& model);
// The normalised box around the selected controls that have a finite place.
LayoutBox SelectionBounds(const EditModel& model);
// The same records without their indices.
std::vector<LayoutControl> SelectedRecords(const EditModel& model);

// index alone, current.
void SelectAlone(EditModel& model, int index);
// The control step places after the current one in list order (before it for a negative
// step), round past either end, alone; without a current control the first one (the last one
// going back). Nothing in an empty layout.
void SelectNext(EditModel& model, int step);
// index into the selection (and current) or out of it (the current one moves to the last of
// the rest).
void Toggle(EditModel& model, int index);
// Every control; the current one stays current, or the last becomes current.
void SelectAll(EditModel& model);
// Every control that query matches, the first of them current; nothing when none matches.
void SelectMatching(EditModel& model, const ControlQuery& query);
// Every control that shares with the current one its text id, its GUI resource id, or its
// width and height as the panel shows them.
enum class Shared
{
    Text,
    Resource,
    Size,
};
void SelectSame(EditModel& model, Shared what);
void SelectNone(EditModel& model);

// What the arranging commands need to act.
bool HasSelection(const EditModel& model);
bool CanDistribute(const EditModel& model);
bool CanSameSize(const EditModel& model);
// Raise: the selection is not the end of the list already; lower: not its start.
bool CanRaise(const EditModel& model);
bool CanLower(const EditModel& model);

} // namespace actions
