// Finding the controls under a point without trying every control: the layout's area is cut
// into cells, and each cell knows the controls that reach into it, in list order.
#pragma once

#include "LayoutChange.h"
#include "geometry/Transform.h"

#include "LayoutDataObject.h"
#include <functional>

#include <vector>

class CHitIndex
{
public:
    // The records changed as hint says; the cells follow (or are made afresh at the next
    // question).
    void Changed(const LayoutChange& hint, const std::vector<LayoutControl>& controls);
    void Invalidate() { m_valid = false; }

    // As TopmostControlAt: the last control in list order whose rectangle lies within
    // tolerance of (x, y), or -1.
    int TopmostAt(const std::vector<LayoutControl>& controls, double x, double y, double tolerance);
    // Every such control, the topmost first.
    std::vector<int> AllAt(const std::vector<LayoutControl>& controls, double x, double y,
                           double tolerance);

    int Builds() const { return m_builds; }
    bool Valid() const { return m_valid; }

    // The control nearest to box beyond one of its sides (LEFT, RIGHT, TOP or BOTTOM of
    // Transform.h): wholly beyond that side and overlapping box on the other axis, and not one
    // that skip names; -1 when there is none. The cells are looked at from the side outwards,
    // and no further than the nearest one found.
    int NearestBeside(const std::vector<LayoutControl>& controls, const LayoutBox& box, int side,
                      const std::function<bool(std::size_t)>& skip);

private:
    struct Place
    {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // the cells it reaches, inclusive
        bool wide = false;                    // too many cells, or no finite place: always tried
        bool never = false;                   // a NaN corner: it contains no point
    };

    void Build(const std::vector<LayoutControl>& controls);
    Place PlaceOf(const LayoutControl& control) const;
    void Add(std::size_t index, const Place& place);
    void Remove(std::size_t index, const Place& place);
    std::vector<int>& Cell(int x, int y)
    {
        return m_cells[static_cast<std::size_t>(y * m_columns + x)];
    }
    // Calls visit with the list of every cell within tolerance of (x, y), the wide ones first.
    template <class Visit>
    void VisitCells(double x, double y, double tolerance, Visit&& visit) const;

    bool m_valid = false;
    double m_size = 1; // a cell's side in layout pixels
    int m_columns = 0, m_rows = 0;
    std::vector<std::vector<int>> m_cells; // ascending indices
    std::vector<int> m_wide;               // ascending indices
    std::vector<Place> m_places;
    int m_builds = 0;
};
