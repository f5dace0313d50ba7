// What pasted and duplicated controls become in a layout: unique names and ids, and a place
// of their own.
#pragma once

#include "LayoutDataObject.h"

#include <string>
#include <vector>

// Checks every incoming name against the identifier rule (false, with the offending name in
// badName, when one fails), then makes the records fit beside existing:
// - a name the layout holds, or one made up for an earlier incoming record, gets the lowest
//   free suffix _2, _3, ... (BTN becomes BTN_2; BTN_2 becomes BTN_3 when BTN and BTN_2 exist:
//   the suffix of a name whose stem exists is counted on); incoming records that repeat each
//   other's names keep them, as copied;
// - an id taken the same way gets the next id above the highest, in the order of incoming;
// - while any incoming rectangle equals an existing one, all incoming move by (10, 10), at
//   most 1001 times; rectangles such a move cannot shift (far off, or not finite) are left
//   out of that test, and a corner it cannot shift stays where it is. The number of moves is
//   found in one pass, and applied as one addition per corner.
bool FitPastedControls(const std::vector<LayoutControl>& existing,
                       std::vector<LayoutControl>& incoming, std::string& badName);
