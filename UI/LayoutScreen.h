// The screen every layout is made for, in layout pixels.
#pragma once

inline constexpr int SCREEN_WIDTH = 800;
inline constexpr int SCREEN_HEIGHT = 600;
