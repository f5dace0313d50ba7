// The wire-frame picture of a layout, for the canvas, the printer and laytool render.
#pragma once

#include "LayoutDataObject.h"
#include "LayoutScreen.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <climits>
#include <cstdint>

#include <vector>

class QPainter;

// The layout screen is shown shifted by this many pixels to the right and down.
inline constexpr int CANVAS_MARGIN = 20;
inline const QColor OUTLINE_COLOUR(64, 0, 0);
inline const QColor HIGHLIGHT_COLOUR(255, 0, 0);

// Where a pixel beyond the int range lands, on its own side: outside every picture, never
// INT_MIN, and with room left for a small width added to it in int (a QRect of a guide line).
// Floats out there are 128 apart: at zoom 1 every sum inside the int range but -2^31 itself
// still gives its exact pixel.
inline constexpr int FAR_BEFORE = INT_MIN + 64;
inline constexpr int FAR_AFTER = INT_MAX - 63;

// T(layout + 20): the sum in float, truncated toward zero. A sum below the int range, or
// -infinity, gives FAR_BEFORE, one above it or +infinity FAR_AFTER; NaN gives INT_MIN, the
// one value that means "no place". (The sum -2147483648 itself gives FAR_BEFORE.)
// Beyond the sums that convert exactly, and NaN: the slow way, out of line.
int CanvasPixelBeyond(float sum);
inline int CanvasPixel(float layout)
{
    // Inside the range where a float converts to int exactly, as nearly every coordinate is,
    // the conversion is the truncation; inline, for the outlines of a million controls.
    const float sum = layout + static_cast<float>(CANVAS_MARGIN);
    if (sum > -2147483520.0f && sum < 2147483520.0f)
        return static_cast<int>(sum);
    return CanvasPixelBeyond(sum);
}

// Layout coordinates to device pixels and back, at a zoom and with the picture panned by an
// origin. At zoom 1 and origin 0 this is exactly CanvasPixel.
struct CanvasMapping
{
    double zoom = 1.0;
    int originX = 0;
    int originY = 0;

    // T((layout + 20) * zoom) + origin, the sum in float as at zoom 1; beyond the int range
    // and for NaN as CanvasPixel.
    int X(float layout) const
    {
        return zoom == 1.0 && originX == 0 ? CanvasPixel(layout) : Mapped(layout, originX);
    }
    int Y(float layout) const
    {
        return zoom == 1.0 && originY == 0 ? CanvasPixel(layout) : Mapped(layout, originY);
    }
    // The layout coordinate of a device position, unrounded.
    double LayoutX(double device) const { return (device - originX) / zoom - CANVAS_MARGIN; }
    double LayoutY(double device) const { return (device - originY) / zoom - CANVAS_MARGIN; }
    bool operator==(const CanvasMapping&) const = default;

private:
    int Mapped(float layout, int origin) const
    {
        // Inline for the usual values, as CanvasPixel: a double truncates toward zero when it
        // converts, exactly where it fits; the rest, and NaN, go the slow way.
        const double scaled =
            static_cast<double>(layout + static_cast<float>(CANVAS_MARGIN)) * zoom;
        if (scaled > -1e15 && scaled < 1e15) {
            const long long shifted = static_cast<long long>(scaled) + origin;
            if (shifted > -2147483520LL && shifted < 2147483520LL)
                return static_cast<int>(shifted);
        }
        return MappedBeyond(layout, origin);
    }
    int MappedBeyond(float layout, int origin) const;
};

// Writes outlines straight into the pixels of an image of format RGB32 or ARGB32, with the
// same pixels as the painter calls below would give: the fast way to paint many controls.
class OutlineWriter
{
public:
    // Writes nothing outside clip (the whole image when it is null).
    OutlineWriter(QImage& image, const CanvasMapping& mapping, const QRect& clip = QRect());
    void Screen(QRgb colour);
    void Control(const LayoutControl& control, QRgb colour);
    // The outline between corners mapped already (device pixels).
    void Outline(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 QRgb colour);

private:
    CanvasMapping m_mapping;
    uchar* m_bits;
    qsizetype m_stride;
    // The pixels that may be written, inclusive.
    std::int64_t m_left, m_top, m_right, m_bottom;
};

// Outlines the 800 by 600 screen and every control in dark red, then the current control
// (null for none) in bright red above them all. Rectangles are outlined like the platform's
// rectangle call: from the smaller coordinate to the larger one minus one on each axis.
// Nothing outside bounds is touched.
void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const LayoutControl* current);

// The same picture through mapping, with every selected control (ascending indices) in bright
// red above the others and the current one last of all.
void PaintLayout(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const std::vector<std::size_t>& selected, int current,
                 const CanvasMapping& mapping);
