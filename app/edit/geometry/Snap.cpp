#include "Snap.h"

#include "LayoutScreen.h"
#include "geometry/Transform.h"

#include <algorithm>
#include <cmath>

SnapLines SnapLines::For(const std::vector<LayoutControl>& controls,
                         const std::vector<std::size_t>& skip, double grid)
{
    SnapLines lines;
    lines.grid = grid;
    lines.xs = {0, SCREEN_WIDTH / 2.0, SCREEN_WIDTH};
    lines.ys = {0, SCREEN_HEIGHT / 2.0, SCREEN_HEIGHT};
    auto next = skip.begin();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (next != skip.end() && *next == i) {
            ++next;
            continue;
        }
        const LayoutControl& c = controls[i];
        if (!IsFinite(c))
            continue;
        lines.xs.insert(lines.xs.end(), {c.m_x1, c.m_x2, (double(c.m_x1) + c.m_x2) / 2});
        lines.ys.insert(lines.ys.end(), {c.m_y1, c.m_y2, (double(c.m_y1) + c.m_y2) / 2});
    }
    for (auto* axis : {&lines.xs, &lines.ys}) {
        std::sort(axis->begin(), axis->end());
        axis->erase(std::unique(axis->begin(), axis->end()), axis->end());
    }
    return lines;
}

std::optional<Snap> SnapAxis(const std::vector<double>& candidates,
                             const std::vector<double>& lines, double grid, double tolerance)
{
    std::optional<Snap> best;
    auto consider = [&](double candidate, double line) {
        const double shift = line - candidate;
        if (std::abs(shift) <= tolerance && (!best || std::abs(shift) < std::abs(best->shift)))
            best = Snap{shift, line};
    };
    for (double candidate : candidates) {
        if (!std::isfinite(candidate))
            continue;
        // The lines are sorted: the nearest ones stand on either side of the candidate.
        const auto above = std::lower_bound(lines.begin(), lines.end(), candidate);
        if (above != lines.end())
            consider(candidate, *above);
        if (above != lines.begin())
            consider(candidate, *(above - 1));
        if (grid > 0)
            consider(candidate, std::round(candidate / grid) * grid);
    }
    return best;
}
