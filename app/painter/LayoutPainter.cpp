#include "LayoutPainter.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

// One horizontal or vertical run of pixels, clipped in 64 bits before it becomes a QRect.
void fillSpan(QPainter& painter, const QRect& bounds, std::int64_t x0, std::int64_t y0,
              std::int64_t x1, std::int64_t y1, const QColor& colour)
{
    x0 = std::max<std::int64_t>(x0, bounds.left());
    y0 = std::max<std::int64_t>(y0, bounds.top());
    x1 = std::min<std::int64_t>(x1, bounds.right());
    y1 = std::min<std::int64_t>(y1, bounds.bottom());
    if (x1 < x0 || y1 < y0)
        return;
    painter.fillRect(QRect(static_cast<int>(x0), static_cast<int>(y0),
                           static_cast<int>(x1 - x0 + 1), static_cast<int>(y1 - y0 + 1)),
                     colour);
}

void outline(QPainter& painter, const QRect& bounds, std::int64_t left, std::int64_t top,
             std::int64_t right, std::int64_t bottom, const QColor& colour)
{
    const std::int64_t x0 = std::min(left, right);
    const std::int64_t x1 = std::max(left, right) - 1;
    const std::int64_t y0 = std::min(top, bottom);
    const std::int64_t y1 = std::max(top, bottom) - 1;
    if (x1 < x0 || y1 < y0)
        return;
    fillSpan(painter, bounds, x0, y0, x1, y0, colour);
    fillSpan(painter, bounds, x0, y1, x1, y1, colour);
    fillSpan(painter, bounds, x0, y0, x0, y1, colour);
    fillSpan(painter, bounds, x1, y0, x1, y1, colour);
}

void outlineControl(QPainter& painter, const QRect& bounds, const LayoutControl& control,
                    const QColor& colour)
{
    outline(painter, bounds, CanvasPixel(control.m_x1), CanvasPixel(control.m_y1),
            CanvasPixel(control.m_x2), CanvasPixel(control.m_y2), colour);
}

} // namespace

int CanvasPixel(float layout)
{
    const float sum = layout + static_cast<float>(CANVAS_MARGIN);
    if (!(sum >= -2147483648.0f && sum < 2147483648.0f))
        return INT_MIN;
    return static_cast<int>(sum);
}

void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const LayoutControl* current)
{
    outline(painter, bounds, CANVAS_MARGIN, CANVAS_MARGIN, CANVAS_MARGIN + SCREEN_WIDTH,
            CANVAS_MARGIN + SCREEN_HEIGHT, OUTLINE_COLOUR);
    for (const LayoutControl& control : controls)
        if (&control != current)
            outlineControl(painter, bounds, control, OUTLINE_COLOUR);
    if (current)
        outlineControl(painter, bounds, *current, HIGHLIGHT_COLOUR);
}
