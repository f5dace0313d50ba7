#pragma once

#include "Resources.h"

#include <QIcon>
#include <QPixmap>

namespace resources {

// Menus 1128 and 1129, accelerator table 1128 and toolbar 1128; beside them the tools bar.
const fw::Resources& Tables();

// Our own images: the toolbar strip (eight 16 by 15 images), the main window's icon 1128 and
// the layout windows' icon 1129.
QPixmap ToolbarBitmap();
// The tools bar: Draw, Select, Undo, Redo, History.
QPixmap ToolsBitmap();
// The arranging bar: grid, six aligns, two distributes, three sizes, duplicate.
QPixmap ArrangeBitmap();
QIcon MainIcon();
QIcon LayoutIcon();

} // namespace resources
