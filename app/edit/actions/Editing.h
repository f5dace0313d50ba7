// Moving, deleting, pasting and duplicating the selected controls: each one step.
#pragma once

#include "EditModel.h"

#include <string>
#include <vector>

namespace actions {

// The selection by (dx, dy); a key held down (repeated) is one step with its first press.
void Nudge(EditModel& model, float dx, float dy, bool repeated, const QString& step);
// The selected controls' right and bottom edges by (dx, dy), as Grown moves them; a key held
// down is one step with its first press.
void Grow(EditModel& model, float dx, float dy, bool repeated, const QString& step);
// A new control of INSERTED_WIDTH by INSERTED_HEIGHT at the end of the list, INSERTED_GAP
// below the bottom left corner of the current control (of the last one when none is current),
// or at (INSERTED_GAP, INSERTED_GAP) in an empty layout or below a control without a place;
// named and numbered as a drawn control. It is selected alone and current.
void InsertNew(EditModel& model, const QString& step);
inline constexpr float INSERTED_WIDTH = 100;
inline constexpr float INSERTED_HEIGHT = 30;
inline constexpr float INSERTED_GAP = 10;
// The selection goes; the control that followed the first one deleted becomes current, or
// the last one when nothing followed.
void DeleteSelection(EditModel& model, const QString& step);
// controls after the last one, with names and ids of their own where the layout holds them
// and a place of their own (see FitPastedControls); they become the selection. False, with
// the name in badName, when a name is no identifier: then nothing changes.
bool Paste(EditModel& model, std::vector<LayoutControl> controls, const QString& step,
           std::string& badName);
// The selection once more, as Paste puts it.
bool Duplicate(EditModel& model, const QString& step, std::string& badName);

} // namespace actions
