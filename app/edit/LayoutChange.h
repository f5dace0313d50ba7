// What a change of a layout touched: the records, the list, the current control and the
// selection. The edit model reports it after every change.
#pragma once

#include "LayoutDataObject.h"

#include <cstddef>
#include <utility>
#include <vector>

// Records with their indices in the control list, by ascending index: what a step changes,
// inserts or keeps.
using IndexedControls = std::vector<std::pair<std::size_t, LayoutControl>>;

// A control's rectangle alone, as stored: first corner, second corner.
struct LayoutRect
{
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
LayoutRect RectOf(const LayoutControl& control);
void SetRect(LayoutControl& control, const LayoutRect& rect);
// Every float bit for bit (NaN payloads and the sign of zero count).
bool SameBits(const LayoutRect& a, const LayoutRect& b);

// The current control and the selected ones, by index into the control list; current is -1
// when there is none, and is always one of the selected ones otherwise.
struct SelectionState
{
    int current = -1;
    std::vector<std::size_t> selected; // ascending

    static SelectionState Only(int index);
    bool Contains(std::size_t index) const;
    bool operator==(const SelectionState&) const = default;
};

struct LayoutChange
{
    enum Flags
    {
        RECORDS = 1,   // fields of the records in indices changed (all of them when empty)
        LIST = 2,      // records came, went or moved
        CURRENT = 4,   // the current control is another one
        SELECTION = 8, // the set of selected controls changed
        NAMES = 16,    // among the changed records, names changed
    };
    int flags = 0;
    std::vector<std::size_t> indices;
    // Who asked for the change (null for an undo or a redo): a tool that holds records of its
    // own gesture knows its own changes by it.
    const void* sender = nullptr;

    bool Touches(std::size_t index) const;
};
