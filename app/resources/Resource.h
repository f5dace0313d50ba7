// Resource ids of the editor.
#pragma once

#include "CommandIds.h"

namespace resources {

inline constexpr unsigned IDR_MAINFRAME = 1128;
inline constexpr unsigned IDR_LAYOUTTYPE = 1129;
inline constexpr unsigned IDD_ABOUTBOX = 1100;
inline constexpr unsigned IDD_PANEL = 1130;

// The properties panel's children.
inline constexpr int IDC_X1 = 11000;
inline constexpr int IDC_Y1 = 11001;
inline constexpr int IDC_WIDTH = 11002;
inline constexpr int IDC_HEIGHT = 11003;
inline constexpr int IDC_CONTROL_LIST = 11005;
inline constexpr int IDC_NAME = 11006;
inline constexpr int IDC_ID = 11007;
inline constexpr int IDC_DELETE = 11008;
inline constexpr int IDC_GUI_RESOURCE_ID = 11015;
inline constexpr int IDC_TEXT_ID = 11016;

inline constexpr unsigned IDS_INVALID_IDENTIFIER = 30374;
inline constexpr unsigned IDS_DUPLICATE_IDENTIFIER = 30375;

} // namespace resources
