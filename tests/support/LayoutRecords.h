// A control record by its name and corners, for tests that build layouts in memory.
#pragma once

#include "LayoutDataObject.h"

#include <string>
#include <vector>

namespace testing_support {

inline LayoutControl box(const char* name, float x1, float y1, float x2, float y2)
{
    LayoutControl c;
    c.m_name = name;
    c.m_x1 = x1;
    c.m_y1 = y1;
    c.m_x2 = x2;
    c.m_y2 = y2;
    return c;
}

// The names of controls, in their order.
inline std::vector<std::string> names(const std::vector<LayoutControl>& controls)
{
    std::vector<std::string> result;
    for (const LayoutControl& c : controls)
        result.push_back(c.m_name);
    return result;
}

} // namespace testing_support
