#include "HitIndex.h"

#include "geometry/HitTest.h"

#include <algorithm>
#include <cmath>

namespace {

// The cells cover the screen and a margin around it; a control elsewhere is tried always.
constexpr double LEFT = -200, TOP = -200, WIDTH = 1200, HEIGHT = 1000;
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
    if (!(left >= LEFT && right < LEFT + WIDTH && top >= TOP && bottom < TOP + HEIGHT)) {
        place.wide = true;
        return place;
    }
    place.x0 = static_cast<int>((left - LEFT) / m_size);
    place.x1 = static_cast<int>((right - LEFT) / m_size);
    place.y0 = static_cast<int>((top - TOP) / m_size);
    place.y1 = static_cast<int>((bottom - TOP) / m_size);
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
    // stays the same however many there are.
    const double area = WIDTH * HEIGHT;
    m_size = std::clamp(std::sqrt(area * 4 / std::max<double>(1, controls.size())), 2.0, 100.0);
    m_columns = static_cast<int>(std::ceil(WIDTH / m_size));
    m_rows = static_cast<int>(std::ceil(HEIGHT / m_size));
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
        if (place.x0 == was.x0 && place.x1 == was.x1 && place.y0 == was.y0 &&
            place.y1 == was.y1 && place.wide == was.wide && place.never == was.never)
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
    if (!(x + tolerance >= LEFT && x - tolerance < LEFT + WIDTH && y + tolerance >= TOP &&
          y - tolerance < TOP + HEIGHT))
        return;
    const int x0 = std::max(0, static_cast<int>((x - tolerance - LEFT) / m_size));
    const int x1 = std::min(m_columns - 1, static_cast<int>((x + tolerance - LEFT) / m_size));
    const int y0 = std::max(0, static_cast<int>((y - tolerance - TOP) / m_size));
    const int y1 = std::min(m_rows - 1, static_cast<int>((y + tolerance - TOP) / m_size));
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
