#include "Arrange.h"

#include "LayoutScreen.h"

#include <algorithm>
#include <cmath>

namespace {

double left(const LayoutControl& c)
{
    return std::min(c.m_x1, c.m_x2);
}
double right(const LayoutControl& c)
{
    return std::max(c.m_x1, c.m_x2);
}
double top(const LayoutControl& c)
{
    return std::min(c.m_y1, c.m_y2);
}
double bottom(const LayoutControl& c)
{
    return std::max(c.m_y1, c.m_y2);
}

} // namespace

LayoutBox AlignmentBox(const IndexedControls& controls)
{
    if (controls.size() >= 2)
        return BoundsOf(controls);
    return LayoutBox{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true};
}

IndexedControls Aligned(IndexedControls controls, Alignment alignment, const LayoutBox& box)
{
    if (!box.valid)
        return controls;
    // Middles of odd sizes meet within half a pixel where every control is whole, so they
    // stay whole; with fractions they meet exactly.
    const bool whole = IsWhole(controls);
    const auto middle = [whole](double delta) { return whole ? std::round(delta) : delta; };
    for (auto& [index, c] : controls) {
        if (!IsFinite(c))
            continue;
        switch (alignment) {
        case Alignment::Left:
            Shift(c, box.left - left(c), 0);
            break;
        case Alignment::HorizontalCentre:
            Shift(c, middle((box.left + box.right) / 2 - (left(c) + right(c)) / 2), 0);
            break;
        case Alignment::Right:
            Shift(c, box.right - right(c), 0);
            break;
        case Alignment::Top:
            Shift(c, 0, box.top - top(c));
            break;
        case Alignment::VerticalCentre:
            Shift(c, 0, middle((box.top + box.bottom) / 2 - (top(c) + bottom(c)) / 2));
            break;
        case Alignment::Bottom:
            Shift(c, 0, box.bottom - bottom(c));
            break;
        }
    }
    return controls;
}

IndexedControls Distributed(IndexedControls controls, bool horizontally)
{
    const auto low = horizontally ? left : top;
    const auto high = horizontally ? right : bottom;
    // Controls without a finite place take no part (and could not be ordered).
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (IsFinite(controls[i].second))
            order.push_back(i);
    if (order.size() < 3)
        return controls;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return low(controls[a].second) < low(controls[b].second);
    });
    const LayoutControl& first = controls[order.front()].second;
    const LayoutControl& last = controls[order.back()].second;
    double inner = 0;
    for (std::size_t i = 1; i + 1 < order.size(); ++i)
        inner += high(controls[order[i]].second) - low(controls[order[i]].second);
    const double gap = (low(last) - high(first) - inner) / static_cast<double>(order.size() - 1);
    // Whole controls move by whole pixels, so the gaps are equal to the pixel; with fractions
    // they are equal exactly.
    const bool whole = IsWhole(controls);
    double edge = high(first);
    for (std::size_t i = 1; i + 1 < order.size(); ++i) {
        LayoutControl& c = controls[order[i]].second;
        const double delta = whole ? std::round(edge + gap - low(c)) : edge + gap - low(c);
        if (horizontally)
            Shift(c, delta, 0);
        else
            Shift(c, 0, delta);
        edge = high(c);
    }
    return controls;
}

IndexedControls SameSize(IndexedControls controls, const LayoutControl& model, bool width,
                         bool height)
{
    const float modelWidth = model.m_x2 - model.m_x1;
    const float modelHeight = model.m_y2 - model.m_y1;
    for (auto& [index, c] : controls) {
        if (!IsFinite(c))
            continue;
        if (width && std::isfinite(modelWidth))
            c.m_x2 = c.m_x1 + modelWidth;
        if (height && std::isfinite(modelHeight))
            c.m_y2 = c.m_y1 + modelHeight;
    }
    return controls;
}

std::vector<std::size_t> Reordered(std::size_t count, const std::vector<std::size_t>& selected,
                                   Order order)
{
    std::vector<bool> chosen(count, false);
    for (std::size_t index : selected)
        if (index < count)
            chosen[index] = true;
    std::vector<std::size_t> result(count);
    for (std::size_t i = 0; i < count; ++i)
        result[i] = i;
    switch (order) {
    case Order::Raise:
        // From the end, each chosen control changes places with an unchosen one after it.
        for (std::size_t i = count; i-- > 1;)
            if (chosen[result[i - 1]] && !chosen[result[i]])
                std::swap(result[i - 1], result[i]);
        break;
    case Order::Lower:
        for (std::size_t i = 1; i < count; ++i)
            if (chosen[result[i]] && !chosen[result[i - 1]])
                std::swap(result[i - 1], result[i]);
        break;
    case Order::ToTop:
        std::stable_partition(result.begin(), result.end(),
                              [&](std::size_t i) { return !chosen[i]; });
        break;
    case Order::ToBottom:
        std::stable_partition(result.begin(), result.end(),
                              [&](std::size_t i) { return chosen[i]; });
        break;
    }
    return result;
}
