#include "HitTest.h"

#include <algorithm>
#include <cmath>

bool ControlContains(const LayoutControl& control, double x, double y, double tolerance)
{
    // std::min and std::max would pass over a NaN corner: such a control holds no point.
    if (std::isnan(control.m_x1) || std::isnan(control.m_x2) || std::isnan(control.m_y1) ||
        std::isnan(control.m_y2))
        return false;
    const double left = std::min<double>(control.m_x1, control.m_x2) - tolerance;
    const double right = std::max<double>(control.m_x1, control.m_x2) + tolerance;
    const double top = std::min<double>(control.m_y1, control.m_y2) - tolerance;
    const double bottom = std::max<double>(control.m_y1, control.m_y2) + tolerance;
    return x >= left && x <= right && y >= top && y <= bottom;
}

int TopmostControlAt(const std::vector<LayoutControl>& controls, double x, double y,
                     double tolerance)
{
    for (std::size_t i = controls.size(); i-- > 0;)
        if (ControlContains(controls[i], x, y, tolerance))
            return static_cast<int>(i);
    return -1;
}
