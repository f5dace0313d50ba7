// A change of the layout as the document tells its views.
#pragma once

#include "LayoutChange.h"
#include "View.h"

struct CLayoutHint : fw::Hint, LayoutChange
{
    CLayoutHint() = default;
    explicit CLayoutHint(const LayoutChange& change) : LayoutChange(change) {}
};
