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

// Beside the resources above: the tools, the layout's undo and redo, the history.
inline constexpr unsigned IDR_TOOLS = 1131;
inline constexpr fw::CommandId ID_TOOL_DRAW = 32771;
inline constexpr fw::CommandId ID_TOOL_SELECT = 32772;
inline constexpr fw::CommandId ID_LAYOUT_UNDO = 32773;
inline constexpr fw::CommandId ID_VIEW_HISTORY = 32774;

inline constexpr unsigned IDS_UNDO_STEP = 32800;
inline constexpr unsigned IDS_REDO_STEP = 32801;
inline constexpr unsigned IDS_TOOLS_BAR = 32802;
inline constexpr unsigned IDS_HISTORY = 32803;
inline constexpr unsigned IDS_HISTORY_START = 32804;
inline constexpr unsigned IDS_ZOOM_TIP = 32805;

// The names of the steps in the history.
inline constexpr unsigned IDS_STEP_DRAW = 32900;
inline constexpr unsigned IDS_STEP_RENAME = 32901;
inline constexpr unsigned IDS_STEP_X1 = 32902;
inline constexpr unsigned IDS_STEP_Y1 = 32903;
inline constexpr unsigned IDS_STEP_WIDTH = 32904;
inline constexpr unsigned IDS_STEP_HEIGHT = 32905;
inline constexpr unsigned IDS_STEP_ID = 32906;
inline constexpr unsigned IDS_STEP_GUI_RESOURCE_ID = 32907;
inline constexpr unsigned IDS_STEP_TEXT_ID = 32908;
inline constexpr unsigned IDS_STEP_DELETE = 32909;
inline constexpr unsigned IDS_STEP_REORDER = 32910;
inline constexpr unsigned IDS_STEP_RELOAD = 32911;
inline constexpr unsigned IDS_STEP_MOVE = 32912;
inline constexpr unsigned IDS_STEP_RESIZE = 32913;

} // namespace resources
