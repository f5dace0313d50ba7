// Moving, deleting, pasting and duplicating the selected controls: each one step.
#pragma once

#include "EditModel.h"

#include <string>
#include <vector>

namespace actions {

// The selection by (dx, dy); a key held down (repeated) is one step with its first press.
void Nudge(EditModel& model, float dx, float dy, bool repeated, const QString& step);
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
