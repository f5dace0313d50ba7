// What changed from one layout to another, control by control.
#pragma once

#include "LayoutDataObject.h"

#include <cstddef>
#include <string>
#include <vector>

struct LayoutChange
{
    enum class Kind
    {
        Removed, // only the old layout has the control: from
        Added,   // only the new layout has it: to
        Moved,   // its order among the matched controls changed: from, to
        Changed, // one field differs: from, to, field, old and new value
        Renamed  // no control of the other layout has its name, one has its id: from, to
    };
    Kind kind = Kind::Changed;
    tstring name;    // in the new layout, for a removed control in the old one
    tstring oldName; // renamed: the name in the old layout
    std::size_t from = 0;
    std::size_t to = 0;
    const char* field = nullptr;
    std::string oldValue; // as dump prints the field: a JSON number or string
    std::string newValue;
};

// Controls are matched by name; where a name repeats, its n-th occurrence in a with its n-th
// in b. The controls left are matched by id the same way, as renamed. The changes come as:
// removed controls in a's order, then b's controls in order, each added, or renamed, moved and
// then its changed fields in dump's field order.
std::vector<LayoutChange> DiffLayouts(const LayoutDataObject& a, const LayoutDataObject& b);

// One line per change: "+ NAME", "- NAME", "~ OLD -> NEW" (renamed),
// "> NAME moved from index I to J", "~ NAME field: old -> new".
std::string DiffText(const std::vector<LayoutChange>& changes);

// {"equal": true|false, "changes": [{"change": "added", "name": ..., "to": 3}, ...]}
std::string DiffJson(const std::vector<LayoutChange>& changes);

// A name for a line of text: its bytes as the characters of the same number, with control
// characters and the backslash escaped (\x01, \\); an empty name as "".
std::string NameText(const tstring& name);
