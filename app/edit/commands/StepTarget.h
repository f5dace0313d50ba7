// What the steps of a layout work on: its records, the counts of its names and ids, the
// gesture going on, and where a step reports what it did. The edit model holds one and hands
// it to every step it makes.
#pragma once

#include "DrawnNames.h"
#include "LayoutChange.h"
#include "LayoutDataObject.h"

#include <functional>
#include <vector>

struct StepTarget
{
    explicit StepTarget(std::vector<LayoutControl>& controls) : records(controls) {}

    std::vector<LayoutControl>& records;
    CDrawnNames drawnNames;
    unsigned gesture = 0;
    // True while a step is pushed, as opposed to undone or redone later.
    bool pushing = false;
    // A step changed the records as change says and leaves selection.
    std::function<void(const LayoutChange& change, const SelectionState& selection)> applied;
};
