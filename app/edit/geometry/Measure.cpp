#include "geometry/Measure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The middle of where two spans overlap, or the first span's middle when they do not.
double sharedMiddle(double low1, double high1, double low2, double high2)
{
    const double low = std::max(low1, low2);
    const double high = std::min(high1, high2);
    return low <= high ? (low + high) / 2 : (low1 + high1) / 2;
}

void measureAxis(bool horizontal, double selLow, double selHigh, double low, double high, double at,
                 std::vector<Measure>& measures)
{
    if (low >= selHigh)
        measures.push_back({horizontal, selHigh, low, at});
    else if (high <= selLow)
        measures.push_back({horizontal, high, selLow, at});
    else if (low <= selLow && high >= selHigh) {
        measures.push_back({horizontal, low, selLow, at});
        measures.push_back({horizontal, selHigh, high, at});
    }
}

} // namespace

std::vector<Measure> MeasuresBetween(const LayoutBox& sel, const LayoutBox& target)
{
    std::vector<Measure> measures;
    if (!sel.valid || !target.valid)
        return measures;
    measureAxis(true, sel.left, sel.right, target.left, target.right,
                sharedMiddle(sel.top, sel.bottom, target.top, target.bottom), measures);
    measureAxis(false, sel.top, sel.bottom, target.top, target.bottom,
                sharedMiddle(sel.left, sel.right, target.left, target.right), measures);
    // A gap of nothing says nothing.
    std::erase_if(measures, [](const Measure& m) { return m.Length() <= 0; });
    return measures;
}

Measure GapTo(const LayoutBox& sel, const LayoutBox& other, int side)
{
    switch (side) {
    case RIGHT:
        return {true, sel.right, other.left,
                sharedMiddle(sel.top, sel.bottom, other.top, other.bottom)};
    case LEFT:
        return {true, other.right, sel.left,
                sharedMiddle(sel.top, sel.bottom, other.top, other.bottom)};
    case BOTTOM:
        return {false, sel.bottom, other.top,
                sharedMiddle(sel.left, sel.right, other.left, other.right)};
    default:
        return {false, other.bottom, sel.top,
                sharedMiddle(sel.left, sel.right, other.left, other.right)};
    }
}

std::vector<Measure> NearestMeasures(const LayoutBox& sel,
                                     const std::vector<LayoutControl>& controls,
                                     const std::vector<std::size_t>& skip)
{
    std::vector<Measure> measures;
    if (!sel.valid)
        return measures;
    constexpr double NONE = std::numeric_limits<double>::infinity();
    double left = NONE, right = NONE, up = NONE, down = NONE;
    LayoutBox nearest[4];
    auto next = skip.begin();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (next != skip.end() && *next == i) {
            ++next;
            continue;
        }
        const LayoutBox box = BoxOf(controls[i]);
        if (!box.valid)
            continue;
        const bool besideX = box.top < sel.bottom && box.bottom > sel.top;
        const bool besideY = box.left < sel.right && box.right > sel.left;
        if (besideX && box.left >= sel.right && box.left - sel.right < right) {
            right = box.left - sel.right;
            nearest[0] = box;
        }
        if (besideX && box.right <= sel.left && sel.left - box.right < left) {
            left = sel.left - box.right;
            nearest[1] = box;
        }
        if (besideY && box.top >= sel.bottom && box.top - sel.bottom < down) {
            down = box.top - sel.bottom;
            nearest[2] = box;
        }
        if (besideY && box.bottom <= sel.top && sel.top - box.bottom < up) {
            up = sel.top - box.bottom;
            nearest[3] = box;
        }
    }
    if (right != NONE)
        measures.push_back(GapTo(sel, nearest[0], RIGHT));
    if (left != NONE)
        measures.push_back(GapTo(sel, nearest[1], LEFT));
    if (down != NONE)
        measures.push_back(GapTo(sel, nearest[2], BOTTOM));
    if (up != NONE)
        measures.push_back(GapTo(sel, nearest[3], TOP));
    return measures;
}
