// Control names written inside their rectangles: laytool render --labels and the canvas's
// "Namen" switch, both the same way at any zoom.
#pragma once

#include "LayoutPainter.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRect>

#include <array>
#include <cstdint>

#include <vector>

class QPainter;

inline const QColor LABEL_COLOUR(40, 40, 40);

// The small font of the labels: a fixed size in device pixels, whatever the zoom.
QFont LabelFont();

// Writes each control's name at the top left of its outline's inside, clipped to that inside.
// A control whose inside is lower than a line of the font or narrower than two of its
// characters gets no label; this is decided from its corners alone, before any text is
// measured, and so is a control whose inside lies wholly outside bounds. A label that would
// begin in a cell of the device (a few characters wide, a line high) where an earlier label of
// the same writer began is left out too: it could not be read there, and so a crowded layout
// costs a few thousand labels at most, however many controls it has. Names are bytes, shown
// as the characters of the same number.
void PaintLabels(QPainter& painter, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const CanvasMapping& mapping);

// The same one control at a time, for a caller that chooses which: the font and its measures
// are set up once.
class LabelWriter
{
public:
    LabelWriter(QPainter& painter, const QRect& bounds, const CanvasMapping& mapping);
    ~LabelWriter();
    LabelWriter(const LabelWriter&) = delete;
    LabelWriter& operator=(const LabelWriter&) = delete;
    void Control(const LayoutControl& control);

private:
    QPainter& m_painter;
    QRect m_bounds;
    CanvasMapping m_mapping;
    std::int64_t m_lineHeight;
    std::int64_t m_narrowest;
    int m_ascent;
    int m_maxWidth;
    // The cells of the device where a label began, row by row.
    std::int64_t m_cellWidth;
    std::int64_t m_columns;
    std::int64_t m_rows;
    std::vector<bool> m_begun;
    // The glyph and advance of each byte of a name, and a label's glyphs and their places.
    QRawFont m_font;
    std::array<quint32, 256> m_glyphs{};
    std::array<qreal, 256> m_advances{};
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};
