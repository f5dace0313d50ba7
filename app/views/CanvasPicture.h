// The canvas's picture in device pixels. The outlines of most controls wait in an image
// between paints, so a paint costs a copy and the few outlines that change, not a pass over
// every control.
#pragma once

#include "LayoutChange.h"
#include "LayoutLabels.h"
#include "LayoutPainter.h"

#include <QImage>
#include <QRegion>

#include <optional>
#include <utility>
#include <vector>

class CCanvasPicture
{
public:
    // What the kept image depends on besides the records.
    struct Frame
    {
        QSize size;
        CanvasMapping mapping;
        QRgb background = 0;
        double grid = 0;    // the grid's spacing in layout pixels, 0 when none shows
        bool names = false; // each control's name inside it
        bool operator==(const Frame&) const = default;
    };

    // The records changed as hint says; the kept image is renewed where it must be.
    void Changed(const LayoutChange& hint);
    void Invalidate() { m_valid = false; }

    // The whole picture: background, grid, the screen's frame and every control in dark red,
    // the selected ones in bright red above them, the current one last; with names, each
    // control's name above all outlines. The same pixels as painting it all afresh, but where
    // names meet: the name of a control drawn at every paint (selected, current, or added since
    // the kept image was made) lies above the kept ones, and where it begins in the same cell
    // as a kept one both show, where a fresh paint shows the first in the list. The image is
    // the picture's own and is painted over by the next call; a caller may draw on it meanwhile.
    // Within area alone when it is not empty (device pixels): the rest of the image stays
    // as the last paint left it. After a change of the frame the whole picture is painted.
    QImage& Paint(const std::vector<LayoutControl>& controls, const SelectionState& selection,
                  const Frame& frame, const QRegion& area = QRegion());
    // Where a change of a few records shows, in device pixels: each changed control where the
    // last paint drew it and where it is now. Nothing when the change needs the whole picture
    // (a control the kept image holds, the list, many records, a picture not yet painted).
    std::optional<QRegion> Touched(const LayoutChange& change,
                                   const std::vector<LayoutControl>& controls) const;
    // The picture as the last paint left it, with what was drawn over it.
    const QImage& Shown() const { return m_shown; }
    // Whether the last paint painted everything.
    bool LastPaintWhole() const { return m_lastWhole; }

    // Paints everything afresh, as Paint does without the kept image.
    static QImage PaintAfresh(const std::vector<LayoutControl>& controls,
                              const SelectionState& selection, const Frame& frame);

    // How often the kept image was made again: for tests and measurements.
    int Rebuilds() const { return m_rebuilds; }
    // Touched() answers for changes of this many records at most.
    static constexpr std::size_t MOST_TOUCHED = 64;

private:
    static QImage Background(const Frame& frame);
    static void PaintBackground(QImage& image, const Frame& frame);
    void Rebuild(const std::vector<LayoutControl>& controls, const SelectionState& selection,
                 const Frame& frame);

    QImage m_kept;
    LabelPixels m_labels; // the pixels of the names of the controls in m_kept
    QImage m_shown;       // the last painted picture, reused so that a paint allocates nothing
    Frame m_frame;
    bool m_valid = false;
    // The controls the kept image leaves out (ascending): they are drawn at every paint, so
    // their records may change without the image being made again.
    std::vector<std::size_t> m_left;
    // The number of records when the image was made: appended ones are left out as well.
    std::size_t m_count = 0;
    int m_rebuilds = 0;
    // Where the last paint drew each control it draws at every paint, while they are few.
    std::vector<std::pair<std::size_t, QRect>> m_drawnAt;
    bool m_drawnAtKnown = false;
    bool m_lastWhole = true;
};
