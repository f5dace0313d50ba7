#include "Transform.h"

#include <algorithm>
#include <cmath>

bool IsFinite(const LayoutControl& c)
{
    return std::isfinite(c.m_x1) && std::isfinite(c.m_x2) && std::isfinite(c.m_y1) &&
           std::isfinite(c.m_y2);
}

bool IsWhole(const IndexedControls& controls)
{
    return std::all_of(controls.begin(), controls.end(), [](const auto& indexed) {
        const LayoutControl& c = indexed.second;
        for (float v : {c.m_x1, c.m_y1, c.m_x2, c.m_y2})
            if (std::isfinite(v) && v != std::trunc(v))
                return false;
        return true;
    });
}

LayoutBox BoxOf(const LayoutControl& c)
{
    if (!IsFinite(c))
        return LayoutBox();
    return {std::min<double>(c.m_x1, c.m_x2), std::min<double>(c.m_y1, c.m_y2),
            std::max<double>(c.m_x1, c.m_x2), std::max<double>(c.m_y1, c.m_y2), true};
}

LayoutBox Joined(const LayoutBox& a, const LayoutBox& b)
{
    if (!a.valid)
        return b;
    if (!b.valid)
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom), true};
}

LayoutBox BoundsOf(const IndexedControls& controls)
{
    LayoutBox box;
    for (const auto& [index, c] : controls)
        box = Joined(box, BoxOf(c));
    return box;
}

void Shift(LayoutControl& c, double dx, double dy)
{
    c.m_x1 = static_cast<float>(c.m_x1 + dx);
    c.m_x2 = static_cast<float>(c.m_x2 + dx);
    c.m_y1 = static_cast<float>(c.m_y1 + dy);
    c.m_y2 = static_cast<float>(c.m_y2 + dy);
}

IndexedControls Moved(IndexedControls controls, double dx, double dy)
{
    for (auto& [index, c] : controls)
        Shift(c, dx, dy);
    return controls;
}

std::vector<LayoutRect> MovedRects(const IndexedControls& controls, double dx, double dy)
{
    std::vector<LayoutRect> rects;
    rects.reserve(controls.size());
    for (const auto& [index, c] : controls)
        rects.push_back({static_cast<float>(c.m_x1 + dx), static_cast<float>(c.m_y1 + dy),
                         static_cast<float>(c.m_x2 + dx), static_cast<float>(c.m_y2 + dy)});
    return rects;
}

std::vector<std::size_t> IndicesOf(const IndexedControls& controls)
{
    std::vector<std::size_t> indices;
    indices.reserve(controls.size());
    for (const auto& indexed : controls)
        indices.push_back(indexed.first);
    return indices;
}

namespace {

// One axis of one control: the larger coordinate moves, down to one pixel above the smaller.
void growSide(float& first, float& second, double delta)
{
    float& moved = first <= second ? second : first;
    const double fixed = first <= second ? first : second;
    const double size = moved - fixed;
    double grown = size + delta;
    if (delta < 0)
        grown = std::max(grown, std::min(size, 1.0));
    moved = static_cast<float>(fixed + grown);
}

} // namespace

IndexedControls Grown(IndexedControls controls, double dx, double dy)
{
    for (auto& [index, c] : controls) {
        if (!IsFinite(c))
            continue;
        if (dx != 0)
            growSide(c.m_x1, c.m_x2, dx);
        if (dy != 0)
            growSide(c.m_y1, c.m_y2, dy);
    }
    return controls;
}

namespace {

// One axis of one control: the coordinate on the moved side follows the pointer.
void pullSide(float& first, float& second, bool lowSide, double delta)
{
    float& moved = (first <= second) == lowSide ? first : second;
    moved = static_cast<float>(moved + delta);
}

// Maps one coordinate from the box's old span to its new one. A whole coordinate stays whole;
// a fraction is kept as it scales.
float scaled(float value, double anchor, double factor)
{
    const double to = anchor + (value - anchor) * factor;
    return static_cast<float>(value == std::trunc(value) ? std::round(to) : to);
}

} // namespace

float PulledX(const LayoutControl& c, int handle)
{
    return (c.m_x1 <= c.m_x2) == ((handle & LEFT) != 0) ? c.m_x1 : c.m_x2;
}

float PulledY(const LayoutControl& c, int handle)
{
    return (c.m_y1 <= c.m_y2) == ((handle & TOP) != 0) ? c.m_y1 : c.m_y2;
}

IndexedControls Resized(IndexedControls controls, int handle, double dx, double dy, bool keepRatio)
{
    if (controls.size() == 1 && !keepRatio) {
        LayoutControl& c = controls.front().second;
        if (handle & (LEFT | RIGHT))
            pullSide(c.m_x1, c.m_x2, (handle & LEFT) != 0, dx);
        if (handle & (TOP | BOTTOM))
            pullSide(c.m_y1, c.m_y2, (handle & TOP) != 0, dy);
        return controls;
    }
    const LayoutBox box = BoundsOf(controls);
    if (!box.valid)
        return controls;
    const double width = box.right - box.left;
    const double height = box.bottom - box.top;
    // Each axis scales about the side that stays; an axis the handle does not pull stays.
    double sx = 1, sy = 1;
    double anchorX = box.left, anchorY = box.top;
    if (handle & RIGHT)
        sx = width == 0 ? 1 : (width + dx) / width;
    if (handle & LEFT) {
        anchorX = box.right;
        sx = width == 0 ? 1 : (width - dx) / width;
    }
    if (handle & BOTTOM)
        sy = height == 0 ? 1 : (height + dy) / height;
    if (handle & TOP) {
        anchorY = box.bottom;
        sy = height == 0 ? 1 : (height - dy) / height;
    }
    if (keepRatio) {
        const bool horizontal = (handle & (LEFT | RIGHT)) != 0;
        const bool vertical = (handle & (TOP | BOTTOM)) != 0;
        double factor = std::max(horizontal ? std::abs(sx) : 0.0, vertical ? std::abs(sy) : 0.0);
        sx = std::copysign(factor, horizontal ? sx : 1.0);
        sy = std::copysign(factor, vertical ? sy : 1.0);
        // The axis no handle side pulls grows about its middle.
        if (!horizontal)
            anchorX = (box.left + box.right) / 2;
        if (!vertical)
            anchorY = (box.top + box.bottom) / 2;
    }
    for (auto& [index, c] : controls) {
        // A control with no finite place has no place in the box either: it stays.
        if (!IsFinite(c))
            continue;
        c.m_x1 = scaled(c.m_x1, anchorX, sx);
        c.m_x2 = scaled(c.m_x2, anchorX, sx);
        c.m_y1 = scaled(c.m_y1, anchorY, sy);
        c.m_y2 = scaled(c.m_y2, anchorY, sy);
    }
    // A zero-wide box cannot scale; it follows the pulled side instead.
    if (width == 0 && (handle & (LEFT | RIGHT)) && !keepRatio)
        controls = Moved(std::move(controls), dx, 0.0);
    if (height == 0 && (handle & (TOP | BOTTOM)) && !keepRatio)
        controls = Moved(std::move(controls), 0.0, dy);
    return controls;
}
