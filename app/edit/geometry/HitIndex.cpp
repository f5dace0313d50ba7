#include "HitIndex.h"

#include "geometry/HitTest.h"

#include <algorithm>
#include <cmath>

namespace {

// The cells cover the screen and a margin around it; a control elsewhere is tried always.
constexpr double AREA_LEFT = -200, AREA_TOP = -200, AREA_WIDTH = 1200, AREA_HEIGHT = 1000;
// A control that reaches into more cells than this is tried always instead.
constexpr int MOST_CELLS = 256;

void insertSorted(std::vector<int>& list, int index)
{
    list.insert(std::lower_bound(list.begin(), list.end(), index), index);
}

void eraseSorted(std::vector<int>& list, int index)
{
    const auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at != list.end() && *at == index)
        list.erase(at);
}

} // namespace

CHitIndex::Place CHitIndex::PlaceOf(const LayoutControl& c) const
{
    Place place;
    if (std::isnan(c.m_x1) || std::isnan(c.m_x2) || std::isnan(c.m_y1) || std::isnan(c.m_y2)) {
        place.never = true;
        return place;
    }
    const double left = std::min(c.m_x1, c.m_x2), right = std::max(c.m_x1, c.m_x2);
    const double top = std::min(c.m_y1, c.m_y2), bottom = std::max(c.m_y1, c.m_y2);
    if (!(left >= AREA_LEFT && right < AREA_LEFT + AREA_WIDTH && top >= AREA_TOP &&
          bottom < AREA_TOP + AREA_HEIGHT)) {
        place.wide = true;
        return place;
    }
    place.x0 = static_cast<int>((left - AREA_LEFT) / m_size);
    place.x1 = static_cast<int>((right - AREA_LEFT) / m_size);
    place.y0 = static_cast<int>((top - AREA_TOP) / m_size);
    place.y1 = static_cast<int>((bottom - AREA_TOP) / m_size);
    if (static_cast<long long>(place.x1 - place.x0 + 1) * (place.y1 - place.y0 + 1) > MOST_CELLS)
        place.wide = true;
    return place;
}

void CHitIndex::Add(std::size_t index, const Place& place)
{
    const int i = static_cast<int>(index);
    if (place.never)
        return;
    if (place.wide) {
        insertSorted(m_wide, i);
        return;
    }
    for (int y = place.y0; y <= place.y1; ++y)
        for (int x = place.x0; x <= place.x1; ++x)
            insertSorted(Cell(x, y), i);
}

void CHitIndex::Remove(std::size_t index, const Place& place)
{
    const int i = static_cast<int>(index);
    if (place.never)
        return;
    if (place.wide) {
        eraseSorted(m_wide, i);
        return;
    }
    for (int y = place.y0; y <= place.y1; ++y)
        for (int x = place.x0; x <= place.x1; ++x)
            eraseSorted(Cell(x, y), i);
}

void CHitIndex::Build(const std::vector<LayoutControl>& controls)
{
    // About four controls to a cell where they are spread evenly, so the work of a question
    // stays the same however many there are; and no smaller than half a typical control, so
    // a control lies in a few cells, not in a hundred (a sample of them tells the size).
    const double area = AREA_WIDTH * AREA_HEIGHT;
    std::vector<double> sides;
    const std::size_t stride = std::max<std::size_t>(1, controls.size() / 1024);
    for (std::size_t i = 0; i < controls.size(); i += stride) {
        const LayoutControl& c = controls[i];
        const double side = std::max(std::abs(c.m_x2 - c.m_x1), std::abs(c.m_y2 - c.m_y1));
        if (std::isfinite(side))
            sides.push_back(side);
    }
    double typical = 0;
    if (!sides.empty()) {
        std::nth_element(sides.begin(), sides.begin() + sides.size() / 2, sides.end());
        typical = sides[sides.size() / 2];
    }
    m_size = std::clamp(
        std::max(std::sqrt(area * 4 / std::max<double>(1, controls.size())), typical / 2), 2.0,
        100.0);
    m_columns = static_cast<int>(std::ceil(AREA_WIDTH / m_size));
    m_rows = static_cast<int>(std::ceil(AREA_HEIGHT / m_size));
    m_cells.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows), {});
    m_wide.clear();
    m_places.resize(controls.size());
    // In list order: each index goes to the end of its lists.
    for (std::size_t i = 0; i < controls.size(); ++i) {
        m_places[i] = PlaceOf(controls[i]);
        Add(i, m_places[i]);
    }
    m_valid = true;
    ++m_builds;
}

void CHitIndex::Changed(const LayoutChange& hint, const std::vector<LayoutControl>& controls)
{
    if (!m_valid || !(hint.flags & (LayoutChange::RECORDS | LayoutChange::LIST)))
        return;
    const std::size_t known = m_places.size();
    // Many records at once (a whole selection moved) are cheaper made afresh, and only when
    // the next question comes.
    if (hint.indices.empty() || hint.indices.size() > std::max<std::size_t>(64, known / 32)) {
        m_valid = false;
        return;
    }
    if (hint.flags & LayoutChange::LIST) {
        // Only records appended behind the known ones keep every index where it was.
        if (!std::all_of(hint.indices.begin(), hint.indices.end(),
                         [known](std::size_t index) { return index >= known; }) ||
            controls.size() != known + hint.indices.size()) {
            m_valid = false;
            return;
        }
        m_places.resize(controls.size());
        for (std::size_t index : hint.indices) {
            m_places[index] = PlaceOf(controls[index]);
            Add(index, m_places[index]);
        }
        return;
    }
    for (std::size_t index : hint.indices) {
        if (index >= known || index >= controls.size()) {
            m_valid = false;
            return;
        }
        // A control that moves within its cells stays in their lists.
        const Place place = PlaceOf(controls[index]);
        const Place& was = m_places[index];
        if (place.x0 == was.x0 && place.x1 == was.x1 && place.y0 == was.y0 && place.y1 == was.y1 &&
            place.wide == was.wide && place.never == was.never)
            continue;
        Remove(index, was);
        m_places[index] = place;
        Add(index, place);
    }
}

template <class Visit>
void CHitIndex::VisitCells(double x, double y, double tolerance, Visit&& visit) const
{
    visit(m_wide);
    if (!(x + tolerance >= AREA_LEFT && x - tolerance < AREA_LEFT + AREA_WIDTH &&
          y + tolerance >= AREA_TOP && y - tolerance < AREA_TOP + AREA_HEIGHT))
        return;
    const int x0 = std::max(0, static_cast<int>((x - tolerance - AREA_LEFT) / m_size));
    const int x1 = std::min(m_columns - 1, static_cast<int>((x + tolerance - AREA_LEFT) / m_size));
    const int y0 = std::max(0, static_cast<int>((y - tolerance - AREA_TOP) / m_size));
    const int y1 = std::min(m_rows - 1, static_cast<int>((y + tolerance - AREA_TOP) / m_size));
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx)
            visit(m_cells[static_cast<std::size_t>(cy * m_columns + cx)]);
}

int CHitIndex::TopmostAt(const std::vector<LayoutControl>& controls, double x, double y,
                         double tolerance)
{
    if (!m_valid || m_places.size() != controls.size())
        Build(controls);
    if (std::isnan(x) || std::isnan(y))
        return -1;
    // Each list is ascending: from its end, the first control that holds the point is that
    // list's topmost, and the highest of those wins.
    int best = -1;
    auto search = [&](const std::vector<int>& list) {
        for (auto at = list.rbegin(); at != list.rend() && *at > best; ++at)
            if (ControlContains(controls[static_cast<std::size_t>(*at)], x, y, tolerance)) {
                best = *at;
                return;
            }
    };
    VisitCells(x, y, tolerance, search);
    return best;
}

std::vector<int> CHitIndex::AllAt(const std::vector<LayoutControl>& controls, double x, double y,
                                  double tolerance)
{
    if (!m_valid || m_places.size() != controls.size())
        Build(controls);
    std::vector<int> candidates;
    if (std::isnan(x) || std::isnan(y))
        return candidates;
    VisitCells(x, y, tolerance, [&candidates](const std::vector<int>& list) {
        candidates.insert(candidates.end(), list.begin(), list.end());
    });
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::erase_if(candidates, [&](int index) {
        return !ControlContains(controls[static_cast<std::size_t>(index)], x, y, tolerance);
    });
    return candidates;
}

int CHitIndex::NearestBeside(const std::vector<LayoutControl>& controls, const LayoutBox& box,
                             int side, const std::function<bool(std::size_t)>& skip)
{
    if (!m_valid || m_places.size() != controls.size())
        Build(controls);
    if (!box.valid)
        return -1;
    const bool horizontal = side == LEFT || side == RIGHT;
    const bool forward = side == RIGHT || side == BOTTOM;
    // How far beyond the side a candidate starts; negative when it is not wholly beyond it or
    // does not overlap the box on the other axis.
    auto gapOf = [&](std::size_t index) {
        const LayoutBox other = BoxOf(controls[index]);
        if (!other.valid)
            return -1.0;
        if (horizontal ? !(other.top < box.bottom && other.bottom > box.top)
                       : !(other.left < box.right && other.right > box.left))
            return -1.0;
        const double gap = horizontal ? (forward ? other.left - box.right : box.left - other.right)
                                      : (forward ? other.top - box.bottom : box.top - other.bottom);
        return gap;
    };
    int best = -1;
    double bestGap = 0;
    auto consider = [&](const std::vector<int>& list) {
        for (int index : list) {
            const auto i = static_cast<std::size_t>(index);
            const double gap = gapOf(i);
            if (gap < 0 || skip(i))
                continue;
            // The nearer wins; of two as near, the later in the list, as it is drawn above.
            if (best < 0 || gap < bestGap || (gap == bestGap && index > best)) {
                best = index;
                bestGap = gap;
            }
        }
    };
    consider(m_wide);
    // The cells along the side, the row (or column) span of the box across.
    const double across0 = horizontal ? box.top : box.left;
    const double across1 = horizontal ? box.bottom : box.right;
    const double origin = horizontal ? AREA_LEFT : AREA_TOP;
    const double acrossOrigin = horizontal ? AREA_TOP : AREA_LEFT;
    const int lines = horizontal ? m_columns : m_rows;
    const int span = horizontal ? m_rows : m_columns;
    const int a0 =
        std::clamp(static_cast<int>(std::floor((across0 - acrossOrigin) / m_size)), 0, span - 1);
    const int a1 =
        std::clamp(static_cast<int>(std::floor((across1 - acrossOrigin) / m_size)), 0, span - 1);
    const double edge =
        horizontal ? (forward ? box.right : box.left) : (forward ? box.bottom : box.top);
    const int start = static_cast<int>(std::floor((edge - origin) / m_size));
    // A control lies in every cell it reaches; in a line of cells only those that begin there
    // (on the side looked from) are new. The rest were seen a line before, or lie behind.
    auto beginsIn = [&](int index, int line) {
        const Place& place = m_places[static_cast<std::size_t>(index)];
        return horizontal ? (forward ? place.x0 : place.x1) == line
                          : (forward ? place.y0 : place.y1) == line;
    };
    std::vector<int> fresh;
    // Where controls lie thousands deep, the nearest of the first few thousand serves: the
    // search costs the same in any layout.
    constexpr std::size_t MOST_LOOKED_AT = 4096;
    std::size_t lookedAt = 0;
    for (int step = 0; step < lines && lookedAt < MOST_LOOKED_AT; ++step) {
        const int line = forward ? start + step : start - step;
        if (line < 0 || line >= lines) {
            if ((forward && line >= lines) || (!forward && line < 0))
                break;
            continue;
        }
        // A cell this far off cannot hold anything nearer than the nearest found.
        const double nearest = step == 0 ? 0 : (step - 1) * m_size;
        if (best >= 0 && nearest > bestGap)
            break;
        for (int a = a0; a <= a1; ++a) {
            fresh.clear();
            const std::vector<int>& cell = horizontal ? Cell(line, a) : Cell(a, line);
            lookedAt += cell.size();
            for (int index : cell)
                if (step == 0 || beginsIn(index, line))
                    fresh.push_back(index);
            consider(fresh);
        }
    }
    return best;
}
