// Control names written inside their rectangles: laytool render --labels and the canvas's
// "Namen" switch, both the same way at any zoom.
#pragma once

#include "LayoutPainter.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

inline const QColor LABEL_COLOUR(40, 40, 40);

// The small font of the labels: a fixed size in device pixels, whatever the zoom.
QFont LabelFont();

// Writes each control's name at the top left of its outline's inside, clipped to that inside
// and to bounds, into the pixels of a 32-bit image (as the outlines are written). A control
// whose inside is lower than a line of the font or narrower than two of its characters gets
// no label; this is decided from its corners alone, and so is a control whose inside lies
// wholly outside bounds. A label that would begin in a cell of the image (a few characters
// wide, a line high) where an earlier label of the same writer began is left out too: it
// could not be read there, and so a crowded layout costs a few thousand labels at most,
// however many controls it has. Names are bytes, shown as the characters of the same number,
// from the font's glyphs at whole pixels.
void PaintLabels(QImage& image, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const CanvasMapping& mapping);

// A row of pixels of a label: from and to are the first and last column.
struct LabelRun
{
    int y;
    int from;
    int to;
};

// Sets the pixels of runs (all within the image) to the labels' colour.
void WriteLabelRuns(QImage& image, const std::vector<LabelRun>& runs, const QRect& clip);

// The same one control at a time, for a caller that chooses which. The second form keeps the
// pixels as runs, for an image of that size to be written later.
class LabelWriter
{
public:
    LabelWriter(QImage& image, const QRect& bounds, const CanvasMapping& mapping);
    LabelWriter(std::vector<LabelRun>& runs, QSize size, const QRect& bounds,
                const CanvasMapping& mapping);
    void Control(const LayoutControl& control);
    // The same with its corners mapped already, as the outline writer maps them.
    void Mapped(const LayoutControl& control, int x1, int y1, int x2, int y2);

private:
    void Prepare(QSize size);

    QRgb* m_pixels = nullptr;
    std::int64_t m_stride = 0; // in pixels
    std::vector<LabelRun>* m_runs = nullptr;
    QRect m_bounds;
    CanvasMapping m_mapping;
    // The cells of the image where a label began, row by row, and the cell of each pixel's
    // column and row (a look-up, not a division per control).
    std::vector<std::uint32_t> m_columnOf;
    std::vector<std::uint32_t> m_rowOf;
    std::size_t m_columns = 0;
    std::vector<bool> m_begun;
};
