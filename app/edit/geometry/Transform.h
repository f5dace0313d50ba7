// Moving and resizing controls: pure arithmetic on their records, for the Select tool.
#pragma once

#include "LayoutChange.h"

// A rectangle in layout coordinates, normalised.
struct LayoutBox
{
    double left = 0, top = 0, right = 0, bottom = 0;
    bool valid = false;
};

// Whether every corner of control is a finite number.
bool IsFinite(const LayoutControl& control);

// Whether every finite corner of every control is a whole number.
bool IsWhole(const IndexedControls& controls);

// The normalised rectangle of one control; not valid without a finite place.
LayoutBox BoxOf(const LayoutControl& control);
// The box around both (either may be not valid).
LayoutBox Joined(const LayoutBox& a, const LayoutBox& b);

// The normalised rectangle around every control given whose corners are finite (not valid
// when there is none).
LayoutBox BoundsOf(const IndexedControls& controls);

// The eight handles around a rectangle, by the sides they move.
enum Handle
{
    NO_HANDLE = 0,
    LEFT = 1,
    RIGHT = 2,
    TOP = 4,
    BOTTOM = 8,
};
inline constexpr int HANDLES[8] = {TOP | LEFT,     TOP,    TOP | RIGHT,   RIGHT,
                                   BOTTOM | RIGHT, BOTTOM, BOTTOM | LEFT, LEFT};

// Both corners of control moved by (dx, dy), in double and rounded once: a corner moved onto
// a line lands on it exactly.
void Shift(LayoutControl& control, double dx, double dy);
// Every control shifted so; fractions are kept.
IndexedControls Moved(IndexedControls controls, double dx, double dy);
// The same for their rectangles alone, with their indices: what a move of many controls
// hands to the edit model.
std::vector<LayoutRect> MovedRects(const IndexedControls& controls, double dx, double dy);
std::vector<std::size_t> IndicesOf(const IndexedControls& controls);

// Each control's right and bottom edges, the larger coordinate of each axis, moved by (dx, dy)
// as the keys resize: a shrinking edge stops where its control is one pixel across (or stays
// where it is narrower already), so no control turns inside out. Controls without a finite
// place stay.
IndexedControls Grown(IndexedControls controls, double dx, double dy);

// The coordinate of control that the handle's horizontal (vertical) side pulls, one control
// alone: the stored one on that side of the rectangle.
float PulledX(const LayoutControl& control, int handle);
float PulledY(const LayoutControl& control, int handle);

// The controls resized by pulling handle (a combination of sides) by (dx, dy) layout pixels.
// One control alone keeps the rule of its stored corners: of each axis that the handle moves,
// only the coordinate on that side of the rectangle changes, so a rectangle stored right to
// left stays that way until the pointer crosses it. Several controls, or keepRatio, scale
// about the bounding box, keepRatio with one factor for both axes.
IndexedControls Resized(IndexedControls controls, int handle, double dx, double dy, bool keepRatio);
