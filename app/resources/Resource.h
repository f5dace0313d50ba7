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

// The arranging commands, their bar and the canvas's context menu.
inline constexpr unsigned IDR_ARRANGE = 1132;
inline constexpr fw::CommandId ID_ALIGN_LEFT = 32780;
inline constexpr fw::CommandId ID_ALIGN_HCENTRE = 32781;
inline constexpr fw::CommandId ID_ALIGN_RIGHT = 32782;
inline constexpr fw::CommandId ID_ALIGN_TOP = 32783;
inline constexpr fw::CommandId ID_ALIGN_VCENTRE = 32784;
inline constexpr fw::CommandId ID_ALIGN_BOTTOM = 32785;
inline constexpr fw::CommandId ID_DISTRIBUTE_H = 32786;
inline constexpr fw::CommandId ID_DISTRIBUTE_V = 32787;
inline constexpr fw::CommandId ID_SAME_WIDTH = 32788;
inline constexpr fw::CommandId ID_SAME_HEIGHT = 32789;
inline constexpr fw::CommandId ID_SAME_SIZE = 32790;
inline constexpr fw::CommandId ID_ORDER_RAISE = 32791;
inline constexpr fw::CommandId ID_ORDER_LOWER = 32792;
inline constexpr fw::CommandId ID_ORDER_TO_TOP = 32793;
inline constexpr fw::CommandId ID_ORDER_TO_BOTTOM = 32794;
inline constexpr fw::CommandId ID_EDIT_DUPLICATE = 32795;
inline constexpr fw::CommandId ID_VIEW_GRID = 32796;

// Working with many controls: names on the canvas, finding and selecting by a query.
inline constexpr fw::CommandId ID_VIEW_NAMES = 33100;
inline constexpr fw::CommandId ID_EDIT_FIND = 33101;
inline constexpr fw::CommandId ID_SELECT_SAME_TEXT = 33102;
inline constexpr fw::CommandId ID_SELECT_SAME_RESOURCE = 33103;
inline constexpr fw::CommandId ID_SELECT_SAME_SIZE = 33104;
inline constexpr unsigned IDS_MENU_SAME_AS = 33027;
inline constexpr unsigned IDS_MENU_SAME_TEXT = 33028;
inline constexpr unsigned IDS_MENU_SAME_RESOURCE = 33029;
inline constexpr unsigned IDS_MENU_SAME_SIZE_AS = 33030;
inline constexpr unsigned IDS_FIND_COUNT = 35000;
inline constexpr unsigned IDS_QUERY_UNKNOWN_FIELD = 35001;
inline constexpr unsigned IDS_QUERY_NO_VALUE = 35002;
inline constexpr unsigned IDS_QUERY_NOT_A_NUMBER = 35003;
inline constexpr unsigned IDS_FIND_PLACEHOLDER = 35004;

inline constexpr unsigned IDS_UNDO_STEP = 32800;
inline constexpr unsigned IDS_REDO_STEP = 32801;
inline constexpr unsigned IDS_TOOLS_BAR = 32802;
inline constexpr unsigned IDS_HISTORY = 32803;
inline constexpr unsigned IDS_HISTORY_START = 32804;
inline constexpr unsigned IDS_ZOOM_TIP = 32805;
inline constexpr unsigned IDS_PASTE_EMPTY = 32806;
inline constexpr unsigned IDS_PASTE_NOT_CONTROLS = 32807;
inline constexpr unsigned IDS_PASTE_BAD_NAME = 32808;
inline constexpr unsigned IDS_ARRANGE_BAR = 32809;

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
inline constexpr unsigned IDS_STEP_ALIGN = 32914;
inline constexpr unsigned IDS_STEP_DISTRIBUTE = 32915;
inline constexpr unsigned IDS_STEP_SAME_SIZE = 32916;
inline constexpr unsigned IDS_STEP_PASTE = 32917;
inline constexpr unsigned IDS_STEP_CUT = 32918;
inline constexpr unsigned IDS_STEP_DUPLICATE = 32919;
// A step's name with what it changed: one control's name, or how many.
inline constexpr unsigned IDS_STEP_OF = 32920;
inline constexpr unsigned IDS_STEP_CONTROLS = 32921;

// The canvas's context menu.
inline constexpr unsigned IDS_MENU_UNDO = 33000;
inline constexpr unsigned IDS_MENU_REDO = 33001;
inline constexpr unsigned IDS_MENU_CUT = 33002;
inline constexpr unsigned IDS_MENU_COPY = 33003;
inline constexpr unsigned IDS_MENU_PASTE = 33004;
inline constexpr unsigned IDS_MENU_DUPLICATE = 33005;
inline constexpr unsigned IDS_MENU_DELETE = 33006;
inline constexpr unsigned IDS_MENU_SELECT_ALL = 33007;
inline constexpr unsigned IDS_MENU_ALIGN = 33008;
inline constexpr unsigned IDS_MENU_DISTRIBUTE = 33009;
inline constexpr unsigned IDS_MENU_SAME = 33010;
inline constexpr unsigned IDS_MENU_ORDER = 33011;
inline constexpr unsigned IDS_MENU_ALIGN_LEFT = 33012;
inline constexpr unsigned IDS_MENU_ALIGN_HCENTRE = 33013;
inline constexpr unsigned IDS_MENU_ALIGN_RIGHT = 33014;
inline constexpr unsigned IDS_MENU_ALIGN_TOP = 33015;
inline constexpr unsigned IDS_MENU_ALIGN_VCENTRE = 33016;
inline constexpr unsigned IDS_MENU_ALIGN_BOTTOM = 33017;
inline constexpr unsigned IDS_MENU_DISTRIBUTE_H = 33018;
inline constexpr unsigned IDS_MENU_DISTRIBUTE_V = 33019;
inline constexpr unsigned IDS_MENU_SAME_WIDTH = 33020;
inline constexpr unsigned IDS_MENU_SAME_HEIGHT = 33021;
inline constexpr unsigned IDS_MENU_SAME_SIZE = 33022;
inline constexpr unsigned IDS_MENU_RAISE = 33023;
inline constexpr unsigned IDS_MENU_LOWER = 33024;
inline constexpr unsigned IDS_MENU_TO_TOP = 33025;
inline constexpr unsigned IDS_MENU_TO_BOTTOM = 33026;

// Editing without a mouse, and what a screen reader reads.
inline constexpr unsigned IDS_STEP_INSERT = 36000;
inline constexpr unsigned IDS_CANVAS_NAME = 36001;
inline constexpr unsigned IDS_CANVAS_DESCRIPTION = 36002;
inline constexpr unsigned IDS_CONTROL_DESCRIPTION = 36003;
inline constexpr unsigned IDS_PANEL_NAME = 36004;
inline constexpr unsigned IDS_CONTROL_LIST_NAME = 36005;
inline constexpr unsigned IDS_ZOOM_NAME = 36006;

// Crash recovery, and files changed by another program.
inline constexpr unsigned IDS_RECOVERY_QUESTION = 34000;
inline constexpr unsigned IDS_RECOVERY_RESTORE = 34001;
inline constexpr unsigned IDS_RECOVERY_DISCARD = 34002;
inline constexpr unsigned IDS_RECOVERY_LATER = 34003;
inline constexpr unsigned IDS_RECOVERY_UNREADABLE = 34004;
inline constexpr unsigned IDS_RECOVERY_WRITE_FAILED = 34005;
inline constexpr unsigned IDS_RECOVERY_WRITE_FAILED_BECAUSE = 34006;
inline constexpr unsigned IDS_RECOVERY_NOT_REGULAR = 34007;
inline constexpr unsigned IDS_RECOVERY_TOO_LARGE = 34008;
inline constexpr unsigned IDS_FILE_CHANGED_ASK = 34010;
inline constexpr unsigned IDS_FILE_REPLACE_ASK = 34011;
inline constexpr unsigned IDS_FILE_UNREADABLE = 34012;
inline constexpr unsigned IDS_FILE_GONE = 34013;
inline constexpr unsigned IDS_FILE_RELOADED = 34014;
// Below a failed load's or save's message: the file and why.
inline constexpr unsigned IDS_FAILURE_DETAILS = 34020;
inline constexpr unsigned IDS_REASON_VERSION = 34021;
inline constexpr unsigned IDS_REASON_SHORT = 34022;
inline constexpr unsigned IDS_REASON_CODE = 34023;

} // namespace resources
