// The canvas's picture in device pixels. The outlines of most controls wait in an image
// between paints, so a paint costs a copy and the few outlines that change, not a pass over
// every control.
#pragma once

#include "LayoutChange.h"
#include "LayoutPainter.h"

#include <QImage>

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
    // control's name above all outlines. The same pixels as painting it all afresh (but
    // where two names overlap: then the name of a control drawn at every paint lies above). The
    // image is the picture's own and is painted over by the next call; a caller may draw on it
    // meanwhile.
    QImage& Paint(const std::vector<LayoutControl>& controls, const SelectionState& selection,
                  const Frame& frame);

    // Paints everything afresh, as Paint does without the kept image.
    static QImage PaintAfresh(const std::vector<LayoutControl>& controls,
                              const SelectionState& selection, const Frame& frame);

    // How often the kept image was made again: for tests and measurements.
    int Rebuilds() const { return m_rebuilds; }

private:
    static QImage Background(const Frame& frame);
    void Rebuild(const std::vector<LayoutControl>& controls, const SelectionState& selection,
                 const Frame& frame);

    QImage m_kept;
    QImage m_labels; // the names of the controls in m_kept, on a transparent ground
    QImage m_shown;  // the last painted picture, reused so that a paint allocates nothing
    Frame m_frame;
    bool m_valid = false;
    // The controls the kept image leaves out (ascending): they are drawn at every paint, so
    // their records may change without the image being made again.
    std::vector<std::size_t> m_left;
    // The number of records when the image was made: appended ones are left out as well.
    std::size_t m_count = 0;
    int m_rebuilds = 0;
};
