#include "LayoutLabels.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
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

namespace {

// One glyph of the label font as the pixels it sets, relative to its origin on the baseline,
// in runs along a row.
struct GlyphRun
{
    int dy;
    int dx;
    int length;
};

struct Glyph
{
    qreal advance = 0;
    std::vector<GlyphRun> runs;
};

// The label font's measures and the pixels of every byte's glyph, drawn once for the process:
// a label is then written pixel by pixel, with no text shaping, at any count.
struct LabelGlyphs
{
    std::int64_t lineHeight = 1;
    std::int64_t narrowest = 1;
    int ascent = 0;
    qreal widestAdvance = 0;
    std::array<Glyph, 256> glyphs;

    LabelGlyphs()
    {
        const QFont font = LabelFont();
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        const QFontMetrics metrics(font, &probe);
        lineHeight = std::max(1, metrics.height());
        narrowest = 2 * std::max(1, metrics.averageCharWidth()) + PADDING;
        ascent = metrics.ascent();
        const QRawFont raw = QRawFont::fromFont(font);
        QString bytes(256, QChar());
        for (int byte = 0; byte < 256; ++byte)
            bytes[byte] = QChar(byte);
        const QList<quint32> indexes = raw.glyphIndexesForString(bytes);
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
        // Room around the origin for glyphs that reach left of it or below the line.
        const int pad = static_cast<int>(lineHeight);
        const int width = std::max(1, metrics.maxWidth()) + 2 * pad;
        const int height = static_cast<int>(lineHeight) + 2 * pad;
        for (int byte = 0; byte < 256 && byte < indexes.size() && byte < advances.size(); ++byte) {
            Glyph& glyph = glyphs[static_cast<std::size_t>(byte)];
            glyph.advance = advances[byte].x();
            widestAdvance = std::max(widestAdvance, glyph.advance);
            QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::TextAntialiasing, false);
                painter.setPen(Qt::black);
                QGlyphRun run;
                run.setRawFont(raw);
                run.setGlyphIndexes({indexes[byte]});
                run.setPositions({QPointF(0, 0)});
                painter.drawGlyphRun(QPointF(pad, pad + ascent), run);
            }
            for (int y = 0; y < height; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < width;) {
                    if (!qAlpha(line[x])) {
                        ++x;
                        continue;
                    }
                    const int from = x;
                    while (x < width && qAlpha(line[x]))
                        ++x;
                    glyph.runs.push_back({y - pad - ascent, from - pad, x - from});
                }
            }
        }
    }
};

const LabelGlyphs& labelGlyphs()
{
    static const LabelGlyphs glyphs;
    return glyphs;
}

} // namespace

void PaintLabels(QImage& image, const QRect& bounds, const std::vector<LayoutControl>& controls,
                 const CanvasMapping& mapping)
{
    LabelWriter writer(image, bounds, mapping);
    for (const LayoutControl& c : controls)
        writer.Control(c);
}

bool writable(const QImage& image)
{
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

void LabelPixels::Clear()
{
    m_runs.clear();
    m_sorted.clear();
    m_rowStart.clear();
}

void LabelPixels::Index(int rows)
{
    // A counting sort by row: the runs of a row, then those of the next.
    m_rowStart.assign(static_cast<std::size_t>(std::max(0, rows)) + 1, 0);
    for (const Run& run : m_runs)
        if (run.y >= 0 && run.y < rows)
            ++m_rowStart[static_cast<std::size_t>(run.y) + 1];
    for (std::size_t row = 1; row < m_rowStart.size(); ++row)
        m_rowStart[row] += m_rowStart[row - 1];
    m_sorted.resize(m_rowStart.back());
    std::vector<std::size_t> next(m_rowStart.begin(), m_rowStart.end() - 1);
    for (const Run& run : m_runs)
        if (run.y >= 0 && run.y < rows)
            m_sorted[next[static_cast<std::size_t>(run.y)]++] = run;
    m_runs.clear();
}

void LabelPixels::Write(QImage& image, const QRect& clip) const
{
    const QRect area = clip & image.rect();
    if (area.isEmpty() || !writable(image) || m_rowStart.empty())
        return;
    const QRgb colour = LABEL_COLOUR.rgba();
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    const int last = std::min(area.bottom(), static_cast<int>(m_rowStart.size()) - 2);
    for (int y = area.top(); y <= last; ++y) {
        QRgb* line = pixels + y * stride;
        for (std::size_t i = m_rowStart[static_cast<std::size_t>(y)];
             i < m_rowStart[static_cast<std::size_t>(y) + 1]; ++i) {
            const Run& run = m_sorted[i];
            for (int x = std::max(run.from, area.left()), to = std::min(run.to, area.right());
                 x <= to; ++x)
                line[x] = colour;
        }
    }
}

LabelWriter::LabelWriter(QImage& image, const QRect& bounds, const CanvasMapping& mapping,
                         const QRect& clip)
    : m_pixels(writable(image) ? reinterpret_cast<QRgb*>(image.bits()) : nullptr),
      m_stride(image.bytesPerLine() / 4),
      // Nothing is written into pixels of another format.
      m_bounds(m_pixels ? bounds & image.rect() : QRect()),
      m_clip(clip.isNull() ? m_bounds : clip & m_bounds), m_mapping(mapping)
{
    Prepare(image.size());
}

LabelWriter::LabelWriter(LabelPixels& pixels, QSize size, const QRect& bounds,
                         const CanvasMapping& mapping)
    : m_kept(&pixels), m_bounds(bounds & QRect(QPoint(0, 0), size)), m_clip(m_bounds),
      m_mapping(mapping)
{
    Prepare(size);
}

void LabelWriter::Prepare(QSize size)
{
    const LabelGlyphs& font = labelGlyphs();
    // Any control that gets a label is at least this much wider than its label's start: a
    // label beginning in a cell where another began would begin inside the other's text.
    const std::int64_t cellWidth = std::max<std::int64_t>(1, font.narrowest - PADDING);
    m_columnOf.resize(static_cast<std::size_t>(std::max(0, size.width())));
    for (std::size_t x = 0; x < m_columnOf.size(); ++x)
        m_columnOf[x] = static_cast<std::uint32_t>(static_cast<std::int64_t>(x) / cellWidth);
    m_rowOf.resize(static_cast<std::size_t>(std::max(0, size.height())));
    for (std::size_t y = 0; y < m_rowOf.size(); ++y)
        m_rowOf[y] = static_cast<std::uint32_t>(static_cast<std::int64_t>(y) / font.lineHeight);
    m_columns = m_columnOf.empty() ? 0 : m_columnOf.back() + 1;
    const std::size_t rows = m_rowOf.empty() ? 0 : m_rowOf.back() + 1;
    m_begun.assign(m_columns * rows, false);
}

void LabelWriter::Control(const LayoutControl& c)
{
    Mapped(c, m_mapping.X(c.m_x1), m_mapping.Y(c.m_y1), m_mapping.X(c.m_x2), m_mapping.Y(c.m_y2));
}

void LabelWriter::Mapped(const LayoutControl& c, int x1, int y1, int x2, int y2)
{
    if (c.m_name.empty() || m_bounds.isEmpty())
        return;
    const LabelGlyphs& font = labelGlyphs();
    if (x1 == INT_MIN || x2 == INT_MIN || y1 == INT_MIN || y2 == INT_MIN)
        return;
    // Inside the outline, which covers the smaller coordinate to the larger one minus one.
    const std::int64_t left = std::int64_t{std::min(x1, x2)} + 1;
    const std::int64_t top = std::int64_t{std::min(y1, y2)} + 1;
    const std::int64_t right = std::int64_t{std::max(x1, x2)} - 2;
    const std::int64_t bottom = std::int64_t{std::max(y1, y2)} - 2;
    if (bottom - top + 1 < font.lineHeight || right - left + 1 < font.narrowest)
        return;
    const std::int64_t visibleLeft = std::max<std::int64_t>(left, m_bounds.left());
    const std::int64_t visibleTop = std::max<std::int64_t>(top, m_bounds.top());
    const std::int64_t visibleRight = std::min<std::int64_t>(right, m_bounds.right());
    const std::int64_t visibleBottom = std::min<std::int64_t>(bottom, m_bounds.bottom());
    if (visibleRight < visibleLeft || visibleBottom < visibleTop)
        return;
    // One line at the inside's top left: skipped when no part of it can be in view.
    const std::int64_t textX = left + PADDING;
    const auto widest = static_cast<std::int64_t>(
        std::ceil(static_cast<qreal>(c.m_name.size()) * font.widestAdvance));
    if (top + font.lineHeight <= visibleTop || textX > visibleRight ||
        textX + widest + font.lineHeight <= visibleLeft)
        return;
    // Where the label's first visible pixel lies (within bounds, so within the image): a
    // label begun in the same cell before takes the place.
    const auto firstX = static_cast<std::size_t>(std::max(textX, visibleLeft));
    const auto firstY = static_cast<std::size_t>(std::max(top, visibleTop));
    const std::size_t cell = m_rowOf[firstY] * m_columns + m_columnOf[firstX];
    if (m_begun[cell])
        return;
    m_begun[cell] = true;
    // The pixels written: the visible inside, within the clip.
    const std::int64_t writeLeft = std::max<std::int64_t>(visibleLeft, m_clip.left());
    const std::int64_t writeTop = std::max<std::int64_t>(visibleTop, m_clip.top());
    const std::int64_t writeRight = std::min<std::int64_t>(visibleRight, m_clip.right());
    const std::int64_t writeBottom = std::min<std::int64_t>(visibleBottom, m_clip.bottom());
    if (writeRight < writeLeft || writeBottom < writeTop)
        return;
    const QRgb colour = LABEL_COLOUR.rgba();
    const std::int64_t baseline = top + font.ascent;
    qreal pen = 0;
    for (const char byte : c.m_name) {
        const Glyph& glyph = font.glyphs[static_cast<unsigned char>(byte)];
        const std::int64_t originX = textX + static_cast<std::int64_t>(std::lround(pen));
        // Glyphs reach at most a line's height left of their origin.
        if (originX - font.lineHeight > writeRight)
            break;
        for (const GlyphRun& run : glyph.runs) {
            const std::int64_t y = baseline + run.dy;
            if (y < writeTop || y > writeBottom)
                continue;
            const std::int64_t from = std::max<std::int64_t>(originX + run.dx, writeLeft);
            const std::int64_t to =
                std::min<std::int64_t>(originX + run.dx + run.length - 1, writeRight);
            if (to < from)
                continue;
            if (m_kept) {
                m_kept->Add({static_cast<int>(y), static_cast<int>(from), static_cast<int>(to)});
                continue;
            }
            QRgb* line = m_pixels + y * m_stride;
            for (std::int64_t x = from; x <= to; ++x)
                line[x] = colour;
        }
        pen += glyph.advance;
    }
}
