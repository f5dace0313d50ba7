// The canvas's context menu in the Select tool: the Edit commands and the arranging ones,
// each enabled as its command is, run through the frame as a menu item would.
#pragma once

#include <QPoint>

class QWidget;

namespace fw {
class MdiFrame;
}

void ShowCanvasMenu(QWidget* canvas, fw::MdiFrame* frame, QPoint globalPosition);
