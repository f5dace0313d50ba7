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
// and to bounds, into the pixels of an RGB32 or ARGB32 image (as the outlines are written). A
// control whose inside is lower than a line of the font or narrower than two of its characters
// gets no label; this is decided from its corners alone, and so is a control whose inside lies
// wholly outside bounds. A label whose first visible pixel lies in a cell of the image (two
// characters wide, a line high) where an earlier label of the same writer began is left out
// too: it would begin inside the other's text, where neither could be read, and so a crowded
// layout costs some thousand labels at most, however many controls it has. Names are bytes,
// shown as the characters of the same number, from the font's glyphs at whole pixels.
void PaintLabels(QImage& image, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const CanvasMapping& mapping);

// The pixels of labels kept for writing later, row by row: a label's pixels are runs of one
// colour along a row.
class LabelPixels
{
public:
    struct Run
    {
        int y;
        int from; // first and last column
        int to;
    };
    void Clear();
    void Add(const Run& run) { m_runs.push_back(run); }
    // Orders the runs by row, for an image of that many rows; Write needs it.
    void Index(int rows);
    // Sets the pixels of the runs within clip to the labels' colour.
    void Write(QImage& image, const QRect& clip) const;

private:
    std::vector<Run> m_runs;
    std::vector<Run> m_sorted;
    std::vector<std::size_t> m_rowStart; // m_sorted's first run of each row, and the end
};

// The same one control at a time, for a caller that chooses which. Which labels are written
// is decided within bounds; the pixels go to the image only within clip (all of bounds when it
// is null), or are kept in pixels for later.
class LabelWriter
{
public:
    LabelWriter(QImage& image, const QRect& bounds, const CanvasMapping& mapping,
                const QRect& clip = QRect());
    LabelWriter(LabelPixels& pixels, QSize size, const QRect& bounds, const CanvasMapping& mapping);
    void Control(const LayoutControl& control);
    // The same with its corners mapped already, as the outline writer maps them.
    void Mapped(const LayoutControl& control, int x1, int y1, int x2, int y2);

private:
    void Prepare(QSize size);

    QRgb* m_pixels = nullptr;
    std::int64_t m_stride = 0; // in pixels
    LabelPixels* m_kept = nullptr;
    QRect m_bounds;
    QRect m_clip;
    CanvasMapping m_mapping;
    // The cells of the image where a label began, row by row, and the cell of each pixel's
    // column and row (a look-up, not a division per control).
    std::vector<std::uint32_t> m_columnOf;
    std::vector<std::uint32_t> m_rowOf;
    std::size_t m_columns = 0;
    std::vector<bool> m_begun;
};
