#include "LayoutLabels.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int LABEL_PIXELS = 10;
// Between the outline and the text, so the first letter does not touch the left edge.
constexpr int PADDING = 1;

} // namespace

QFont LabelFont()
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(LABEL_PIXELS);
    // Whole pixels, as the outlines: a name kept in an image of its own and laid over the
    // picture later has exactly the pixels it has when written onto the picture itself.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void PaintLabels(QPainter& painter, const QRect& area, const std::vector<LayoutControl>& controls,
                 const CanvasMapping& mapping)
{
    LabelWriter writer(painter, area, mapping);
    for (const LayoutControl& c : controls)
        writer.Control(c);
}

LabelWriter::LabelWriter(QPainter& painter, const QRect& area, const CanvasMapping& mapping)
    : m_painter(painter),
      // Each label sets a clip of its own: a clip the caller set stays the limit all the same.
      m_bounds(painter.hasClipping() ? area & painter.clipBoundingRect().toAlignedRect() : area),
      m_mapping(mapping)
{
    const QFont font = LabelFont();
    const QFontMetrics metrics(font, painter.device());
    m_lineHeight = metrics.height();
    m_narrowest = 2 * std::max(1, metrics.averageCharWidth()) + PADDING;
    m_ascent = metrics.ascent();
    m_maxWidth = std::max(1, metrics.maxWidth());
    m_cellWidth = 2 * m_narrowest;
    const QPaintDevice* device = painter.device();
    m_columns = device ? (device->width() + m_cellWidth - 1) / m_cellWidth : 0;
    m_rows = device ? (device->height() + m_lineHeight - 1) / m_lineHeight : 0;
    m_begun.assign(static_cast<std::size_t>(m_columns * m_rows), false);
    // Names are laid out a byte at a time from the font's own glyphs and advances: no text
    // shaping per label, which would cost more than everything else on a crowded canvas.
    m_font = QRawFont::fromFont(font);
    QString bytes(256, QChar());
    for (int byte = 0; byte < 256; ++byte)
        bytes[byte] = QChar(byte);
    const QList<quint32> glyphs = m_font.glyphIndexesForString(bytes);
    const QList<QPointF> advances = m_font.advancesForGlyphIndexes(glyphs);
    for (int byte = 0; byte < 256 && byte < glyphs.size() && byte < advances.size(); ++byte) {
        m_glyphs[byte] = glyphs[byte];
        m_advances[byte] = advances[byte].x();
    }
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(LABEL_COLOUR);
    painter.setBrush(Qt::NoBrush);
}

LabelWriter::~LabelWriter()
{
    m_painter.restore();
}

void LabelWriter::Control(const LayoutControl& c)
{
    if (c.m_name.empty())
        return;
    const int x1 = m_mapping.X(c.m_x1), x2 = m_mapping.X(c.m_x2);
    const int y1 = m_mapping.Y(c.m_y1), y2 = m_mapping.Y(c.m_y2);
    if (x1 == INT_MIN || x2 == INT_MIN || y1 == INT_MIN || y2 == INT_MIN)
        return;
    // Inside the outline, which covers the smaller coordinate to the larger one minus one.
    const std::int64_t left = std::int64_t{std::min(x1, x2)} + 1;
    const std::int64_t top = std::int64_t{std::min(y1, y2)} + 1;
    const std::int64_t right = std::int64_t{std::max(x1, x2)} - 2;
    const std::int64_t bottom = std::int64_t{std::max(y1, y2)} - 2;
    if (bottom - top + 1 < m_lineHeight || right - left + 1 < m_narrowest)
        return;
    const std::int64_t visibleLeft = std::max<std::int64_t>(left, m_bounds.left());
    const std::int64_t visibleTop = std::max<std::int64_t>(top, m_bounds.top());
    const std::int64_t visibleRight = std::min<std::int64_t>(right, m_bounds.right());
    const std::int64_t visibleBottom = std::min<std::int64_t>(bottom, m_bounds.bottom());
    if (visibleRight < visibleLeft || visibleBottom < visibleTop)
        return;
    // One line at the inside's top left: skipped when no part of it can be in view.
    const std::int64_t textX = left + PADDING;
    const std::int64_t widest = static_cast<std::int64_t>(c.m_name.size()) * m_maxWidth;
    if (top + m_lineHeight <= visibleTop || textX > visibleRight || textX + widest <= visibleLeft)
        return;
    // Where the label begins: a label begun in the same cell before takes the place. Labels
    // beginning off the device are few (it is the picture's edge) and all written.
    const std::int64_t column = textX / m_cellWidth, row = top / m_lineHeight;
    if (textX >= 0 && top >= 0 && column < m_columns && row < m_rows) {
        const auto cell = static_cast<std::size_t>(row * m_columns + column);
        if (m_begun[cell])
            return;
        m_begun[cell] = true;
    }
    // No glyph is narrower than a pixel: what lies beyond the inside's width is never seen.
    const std::size_t shown = static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(c.m_name.size()), visibleRight - textX + 1));
    m_painter.setClipRect(
        QRect(QPoint(static_cast<int>(visibleLeft), static_cast<int>(visibleTop)),
              QPoint(static_cast<int>(visibleRight), static_cast<int>(visibleBottom))));
    m_indexes.resize(static_cast<qsizetype>(shown));
    m_positions.resize(static_cast<qsizetype>(shown));
    qreal x = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto byte = static_cast<unsigned char>(c.m_name[i]);
        m_indexes[static_cast<qsizetype>(i)] = m_glyphs[byte];
        m_positions[static_cast<qsizetype>(i)] = QPointF(x, 0);
        x += m_advances[byte];
    }
    QGlyphRun run;
    run.setRawFont(m_font);
    run.setGlyphIndexes(m_indexes);
    run.setPositions(m_positions);
    m_painter.drawGlyphRun(QPointF(static_cast<qreal>(textX), static_cast<qreal>(top + m_ascent)),
                           run);
}
