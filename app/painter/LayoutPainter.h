// The wire-frame picture of a layout, for the canvas, the printer and laytool render.
#pragma once

#include "LayoutDataObject.h"

#include <QColor>
#include <QRect>

class QPainter;

// The layout screen is shown shifted by this many pixels to the right and down.
inline constexpr int CANVAS_MARGIN = 20;
inline const QColor OUTLINE_COLOUR(64, 0, 0);
inline const QColor HIGHLIGHT_COLOUR(255, 0, 0);

// T(layout + 20): the sum in float, truncated toward zero. A value no 32-bit integer holds
// (NaN, infinities, huge numbers) gives INT_MIN, as the processor's own conversion does.
int CanvasPixel(float layout);

// Outlines the 800 by 600 screen and every control in dark red, then the current control
// (null for none) in bright red above them all. Rectangles are outlined like the platform's
// rectangle call: from the smaller coordinate to the larger one minus one on each axis.
// Nothing outside bounds is touched.
void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const LayoutControl* current);
