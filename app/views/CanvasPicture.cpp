#include "views/CanvasPicture.h"

#include "LayoutLabels.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

const QRgb DARK = OUTLINE_COLOUR.rgb();
const QRgb BRIGHT = HIGHLIGHT_COLOUR.rgb();
const QRgb GRID_DOT = qRgb(200, 200, 215);
// Grid dots closer than this many device pixels are not drawn: they would be a wash.
constexpr double MIN_GRID_STEP = 4.0;

bool contains(const std::vector<std::size_t>& sorted, std::size_t index)
{
    return std::binary_search(sorted.begin(), sorted.end(), index);
}

// An image of the size and format asked for, the one given when it is so already: its pixels
// are painted over again, not fresh memory that the system must clear first. (Painting into
// an image another copy shares gives it pixels of its own first.)
void reuse(QImage& image, QSize size, QImage::Format format)
{
    if (image.size() != size || image.format() != format)
        image = QImage(size, format);
}

void paintGrid(QImage& image, const CCanvasPicture::Frame& frame)
{
    if (frame.grid <= 0 || frame.grid * frame.mapping.zoom < MIN_GRID_STEP)
        return;
    for (double y = 0; y <= SCREEN_HEIGHT; y += frame.grid) {
        const int row = frame.mapping.Y(static_cast<float>(y));
        if (row < 0 || row >= image.height())
            continue;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (double x = 0; x <= SCREEN_WIDTH; x += frame.grid) {
            const int column = frame.mapping.X(static_cast<float>(x));
            if (column >= 0 && column < image.width())
                line[column] = GRID_DOT;
        }
    }
}

// The selected controls in bright red, the current one last (all of one colour, so the
// order among them does not change a pixel, only that they come after the dark ones).
void paintSelection(OutlineWriter& writer, const std::vector<LayoutControl>& controls,
                    const SelectionState& selection)
{
    for (std::size_t index : selection.selected)
        if (index < controls.size())
            writer.Control(controls[index], BRIGHT);
    if (selection.current >= 0 && static_cast<std::size_t>(selection.current) < controls.size())
        writer.Control(controls[static_cast<std::size_t>(selection.current)], BRIGHT);
}

} // namespace

QImage CCanvasPicture::Background(const Frame& frame)
{
    QImage image(frame.size, QImage::Format_RGB32);
    PaintBackground(image, frame);
    return image;
}

void CCanvasPicture::PaintBackground(QImage& image, const Frame& frame)
{
    image.fill(frame.background);
    paintGrid(image, frame);
}

QImage CCanvasPicture::PaintAfresh(const std::vector<LayoutControl>& controls,
                                   const SelectionState& selection, const Frame& frame)
{
    QImage image = Background(frame);
    OutlineWriter writer(image, frame.mapping);
    writer.Screen(DARK);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (!contains(selection.selected, i))
            writer.Control(controls[i], DARK);
    paintSelection(writer, controls, selection);
    if (frame.names)
        PaintLabels(image, image.rect(), controls, frame.mapping);
    return image;
}

void CCanvasPicture::Changed(const LayoutChange& hint)
{
    // Another selection changes no record: the kept image holds.
    if (!m_valid || !(hint.flags & (LayoutChange::RECORDS | LayoutChange::LIST)))
        return;
    if (hint.indices.empty()) {
        m_valid = false;
        return;
    }
    // Records appended after the image was made were never in it.
    if (hint.flags & LayoutChange::LIST) {
        if (!std::all_of(hint.indices.begin(), hint.indices.end(),
                         [this](std::size_t index) { return index >= m_count; }))
            m_valid = false;
        return;
    }
    // Both lists ascend: one walk along both, however many a step touched.
    auto left = m_left.begin();
    for (std::size_t index : hint.indices) {
        if (index >= m_count)
            break;
        // Dense lists step along, sparse ones leap.
        if (left == m_left.end() || *left != index)
            left = std::lower_bound(left, m_left.end(), index);
        if (left == m_left.end() || *left != index) {
            m_valid = false;
            return;
        }
        ++left;
    }
}

void CCanvasPicture::Rebuild(const std::vector<LayoutControl>& controls,
                             const SelectionState& selection, const Frame& frame)
{
    // The selection is what the next changes touch: it stays out of the image.
    m_left = selection.selected;
    if (selection.current >= 0 && !contains(m_left, static_cast<std::size_t>(selection.current))) {
        m_left.push_back(static_cast<std::size_t>(selection.current));
        std::sort(m_left.begin(), m_left.end());
    }
    reuse(m_kept, frame.size, QImage::Format_RGB32);
    PaintBackground(m_kept, frame);
    OutlineWriter writer(m_kept, frame.mapping);
    writer.Screen(DARK);
    // The names go to an image of their own, laid over the outlines at every paint; one pass
    // over the records writes both.
    m_labels.Clear();
    std::optional<LabelWriter> labels;
    if (frame.names)
        labels.emplace(m_labels, frame.size, QRect(QPoint(0, 0), frame.size), frame.mapping);
    auto next = m_left.begin();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (next != m_left.end() && *next == i) {
            ++next;
            continue;
        }
        if (!labels) {
            writer.Control(controls[i], DARK);
            continue;
        }
        const LayoutControl& c = controls[i];
        const CanvasMapping& mapping = frame.mapping;
        const int x1 = mapping.X(c.m_x1), y1 = mapping.Y(c.m_y1);
        const int x2 = mapping.X(c.m_x2), y2 = mapping.Y(c.m_y2);
        writer.Outline(x1, y1, x2, y2, DARK);
        labels->Mapped(c, x1, y1, x2, y2);
    }
    m_labels.Index(frame.size.height());
    m_frame = frame;
    m_count = controls.size();
    m_valid = true;
    ++m_rebuilds;
}

namespace {

// The device pixels a control's outline may cover, held within a range where sums of a few
// rectangles cannot overflow. A NaN corner maps to INT_MIN, and the outline runs from there
// as from any far pixel: so does the rectangle.
QRect deviceRect(const LayoutControl& c, const CanvasMapping& mapping)
{
    const int x1 = mapping.X(c.m_x1), x2 = mapping.X(c.m_x2);
    const int y1 = mapping.Y(c.m_y1), y2 = mapping.Y(c.m_y2);
    auto near = [](int v) { return std::clamp(v, -(1 << 24), 1 << 24); };
    return QRect(QPoint(near(std::min(x1, x2)), near(std::min(y1, y2))),
                 QPoint(near(std::max(x1, x2)), near(std::max(y1, y2))));
}

} // namespace

std::optional<QRegion> CCanvasPicture::Touched(const LayoutChange& change,
                                               const std::vector<LayoutControl>& controls) const
{
    if (!m_valid || !m_drawnAtKnown || (change.flags & LayoutChange::LIST) ||
        change.indices.empty() || change.indices.size() > MOST_TOUCHED)
        return std::nullopt;
    QRegion region;
    for (std::size_t index : change.indices) {
        const auto at = std::find_if(m_drawnAt.begin(), m_drawnAt.end(),
                                     [index](const auto& drawn) { return drawn.first == index; });
        // A control the kept image holds is painted into it again: everything.
        if (at == m_drawnAt.end() || index >= controls.size())
            return std::nullopt;
        region += at->second.adjusted(-1, -1, 1, 1);
        region += deviceRect(controls[index], m_frame.mapping).adjusted(-1, -1, 1, 1);
    }
    return region & QRect(QPoint(0, 0), m_frame.size);
}

QImage& CCanvasPicture::Paint(const std::vector<LayoutControl>& controls,
                              const SelectionState& selection, const Frame& frame,
                              const QRegion& area)
{
    bool whole = area.isEmpty();
    if (!m_valid || !(frame == m_frame) || controls.size() < m_count) {
        Rebuild(controls, selection, frame);
        whole = true;
    }
    // A copy handed out before still shares m_shown's pixels; bits() gives it its own first.
    if (m_shown.size() != m_kept.size() || m_shown.format() != m_kept.format()) {
        m_shown = QImage(m_kept.size(), m_kept.format());
        whole = true;
    }
    m_shown.setDevicePixelRatio(1);
    m_lastWhole = whole;
    const QRegion region = whole ? QRegion(m_kept.rect()) : area & m_kept.rect();
    uchar* shown = m_shown.bits();
    const qsizetype stride = m_kept.bytesPerLine();
    if (whole) {
        std::memcpy(shown, m_kept.constBits(), static_cast<std::size_t>(m_kept.sizeInBytes()));
    } else {
        for (const QRect& rect : region)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                std::memcpy(shown + y * stride + rect.left() * 4,
                            m_kept.constBits() + y * stride + rect.left() * 4,
                            static_cast<std::size_t>(rect.width()) * 4);
    }
    QImage& image = m_shown;
    for (const QRect& rect : region) {
        OutlineWriter writer(image, frame.mapping, whole ? QRect() : rect);
        // Left out of the image and not selected: dark, as in the image.
        auto selected = selection.selected.begin();
        for (std::size_t index : m_left) {
            if (index >= controls.size())
                break;
            // Both ascend: one walk along both.
            while (selected != selection.selected.end() && *selected < index)
                ++selected;
            const bool isSelected = selected != selection.selected.end() && *selected == index;
            if (!isSelected && static_cast<int>(index) != selection.current)
                writer.Control(controls[index], DARK);
        }
        for (std::size_t index = m_count; index < controls.size(); ++index)
            if (!contains(selection.selected, index) &&
                static_cast<int>(index) != selection.current)
                writer.Control(controls[index], DARK);
        paintSelection(writer, controls, selection);
        if (frame.names) {
            // Above every outline: the names kept with the image, then those of the controls
            // the image leaves out.
            m_labels.Write(image, rect);
            // Which names show is decided in the whole picture, as a full paint decides it;
            // only their pixels stay within the region.
            LabelWriter labels(image, image.rect(), frame.mapping, rect);
            for (std::size_t index : m_left)
                if (index < controls.size())
                    labels.Control(controls[index]);
            for (std::size_t index = m_count; index < controls.size(); ++index)
                labels.Control(controls[index]);
        }
        if (whole)
            break;
    }
    // Where the controls drawn at every paint stand now, while they are few enough to ask.
    const std::size_t dynamic =
        m_left.size() + (controls.size() - std::min(m_count, controls.size()));
    m_drawnAtKnown = dynamic <= 4 * MOST_TOUCHED;
    m_drawnAt.clear();
    if (m_drawnAtKnown) {
        for (std::size_t index : m_left)
            if (index < controls.size())
                m_drawnAt.emplace_back(index, deviceRect(controls[index], frame.mapping));
        for (std::size_t index = m_count; index < controls.size(); ++index)
            m_drawnAt.emplace_back(index, deviceRect(controls[index], frame.mapping));
    }
    return image;
}
