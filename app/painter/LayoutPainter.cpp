#include "LayoutPainter.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

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

// The platform's rectangle rule: from the smaller coordinate to the larger one minus one on
// each axis, as four runs of pixels handed to span(x0, y0, x1, y1).
template <class Span>
void outlineSpans(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  Span&& span)
{
    const std::int64_t x0 = std::min(left, right);
    const std::int64_t x1 = std::max(left, right) - 1;
    const std::int64_t y0 = std::min(top, bottom);
    const std::int64_t y1 = std::max(top, bottom) - 1;
    if (x1 < x0 || y1 < y0)
        return;
    span(x0, y0, x1, y0);
    span(x0, y1, x1, y1);
    span(x0, y0, x0, y1);
    span(x1, y0, x1, y1);
}

void outline(QPainter& painter, const QRect& bounds, std::int64_t left, std::int64_t top,
             std::int64_t right, std::int64_t bottom, const QColor& colour)
{
    outlineSpans(left, top, right, bottom, [&](auto x0, auto y0, auto x1, auto y1) {
        fillSpan(painter, bounds, x0, y0, x1, y1, colour);
    });
}

void outlineControl(QPainter& painter, const QRect& bounds, const LayoutControl& control,
                    const CanvasMapping& mapping, const QColor& colour)
{
    outline(painter, bounds, mapping.X(control.m_x1), mapping.Y(control.m_y1),
            mapping.X(control.m_x2), mapping.Y(control.m_y2), colour);
}

// A truncated pixel as an int. Beyond the int range a value keeps its side, at a bound far
// outside any picture, so a control running off to the right is not drawn running off to the
// left. INT_MIN is left to NaN alone, which has no side: the tools read it as "no place".
int pixelOnItsSide(double truncated)
{
    if (std::isnan(truncated))
        return INT_MIN;
    if (truncated <= static_cast<double>(FAR_BEFORE))
        return FAR_BEFORE;
    if (truncated >= static_cast<double>(FAR_AFTER))
        return FAR_AFTER;
    return static_cast<int>(truncated);
}

int mapped(float layout, double zoom, int origin)
{
    const float sum = layout + static_cast<float>(CANVAS_MARGIN);
    const double scaled = zoom == 1.0 ? static_cast<double>(sum) : static_cast<double>(sum) * zoom;
    return pixelOnItsSide(std::trunc(scaled) + origin);
}

} // namespace

int CanvasPixelBeyond(float sum)
{
    return pixelOnItsSide(std::trunc(static_cast<double>(sum)));
}

int CanvasMapping::MappedBeyond(float layout, int origin) const
{
    return mapped(layout, zoom, origin);
}

OutlineWriter::OutlineWriter(QImage& image, const CanvasMapping& mapping, const QRect& clip)
    : m_mapping(mapping), m_bits(image.bits()), m_stride(image.bytesPerLine())
{
    const QRect area = clip.isNull() ? image.rect() : clip & image.rect();
    m_left = area.left();
    m_top = area.top();
    m_right = area.right();
    m_bottom = area.bottom();
}

void OutlineWriter::Screen(QRgb colour)
{
    Outline(m_mapping.X(0.0f), m_mapping.Y(0.0f), m_mapping.X(SCREEN_WIDTH),
            m_mapping.Y(SCREEN_HEIGHT), colour);
}

void OutlineWriter::Control(const LayoutControl& c, QRgb colour)
{
    Outline(m_mapping.X(c.m_x1), m_mapping.Y(c.m_y1), m_mapping.X(c.m_x2), m_mapping.Y(c.m_y2),
            colour);
}

void OutlineWriter::Outline(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, QRgb colour)
{
    // The rectangle rule of outlineSpans, written out: the four sides are clipped once, and a
    // side outside the clip costs a comparison.
    const std::int64_t x0 = std::min(left, right), x1 = std::max(left, right) - 1;
    const std::int64_t y0 = std::min(top, bottom), y1 = std::max(top, bottom) - 1;
    if (x1 < x0 || y1 < y0)
        return;
    const std::int64_t cx0 = std::max(x0, m_left), cx1 = std::min(x1, m_right);
    const std::int64_t cy0 = std::max(y0, m_top), cy1 = std::min(y1, m_bottom);
    if (cx1 < cx0 || cy1 < cy0)
        return;
    auto row = [this](std::int64_t y) { return reinterpret_cast<QRgb*>(m_bits + y * m_stride); };
    if (y0 == cy0)
        std::fill(row(y0) + cx0, row(y0) + cx1 + 1, colour);
    if (y1 == cy1 && y1 != y0)
        std::fill(row(y1) + cx0, row(y1) + cx1 + 1, colour);
    if (x0 == cx0)
        for (std::int64_t y = cy0; y <= cy1; ++y)
            row(y)[x0] = colour;
    if (x1 == cx1 && x1 != x0)
        for (std::int64_t y = cy0; y <= cy1; ++y)
            row(y)[x1] = colour;
}

void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const LayoutControl* current)
{
    const CanvasMapping identity;
    outline(painter, bounds, CANVAS_MARGIN, CANVAS_MARGIN, CANVAS_MARGIN + SCREEN_WIDTH,
            CANVAS_MARGIN + SCREEN_HEIGHT, OUTLINE_COLOUR);
    for (const LayoutControl& control : controls)
        if (&control != current)
            outlineControl(painter, bounds, control, identity, OUTLINE_COLOUR);
    if (current)
        outlineControl(painter, bounds, *current, identity, HIGHLIGHT_COLOUR);
}

void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const std::vector<std::size_t>& selected, int current,
                 const CanvasMapping& mapping)
{
    outline(painter, bounds, mapping.X(0.0f), mapping.Y(0.0f), mapping.X(SCREEN_WIDTH),
            mapping.Y(SCREEN_HEIGHT), OUTLINE_COLOUR);
    auto next = selected.begin();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (next != selected.end() && *next == i) {
            ++next;
            continue;
        }
        outlineControl(painter, bounds, controls[i], mapping, OUTLINE_COLOUR);
    }
    for (std::size_t index : selected)
        if (static_cast<int>(index) != current && index < controls.size())
            outlineControl(painter, bounds, controls[index], mapping, HIGHLIGHT_COLOUR);
    if (current >= 0 && static_cast<std::size_t>(current) < controls.size())
        outlineControl(painter, bounds, controls[static_cast<std::size_t>(current)], mapping,
                       HIGHLIGHT_COLOUR);
}
