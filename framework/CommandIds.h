// The framework's standard command and string ids.
#pragma once

#include "Commands.h"

namespace fw {

inline constexpr CommandId ID_SEPARATOR = 0;
inline constexpr CommandId ID_FILE_NEW = 57600;
inline constexpr CommandId ID_FILE_OPEN = 57601;
inline constexpr CommandId ID_FILE_CLOSE = 57602;
inline constexpr CommandId ID_FILE_SAVE = 57603;
inline constexpr CommandId ID_FILE_SAVE_AS = 57604;
inline constexpr CommandId ID_FILE_PAGE_SETUP = 57605;
inline constexpr CommandId ID_FILE_PRINT_SETUP = 57606;
inline constexpr CommandId ID_FILE_PRINT = 57607;
inline constexpr CommandId ID_FILE_PRINT_DIRECT = 57608;
inline constexpr CommandId ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr CommandId ID_FILE_MRU_FILE1 = 57616;
inline constexpr CommandId ID_FILE_MRU_LAST = 57631;
inline constexpr CommandId ID_EDIT_CLEAR = 57632;
inline constexpr CommandId ID_EDIT_COPY = 57634;
inline constexpr CommandId ID_EDIT_CUT = 57635;
inline constexpr CommandId ID_EDIT_PASTE = 57637;
inline constexpr CommandId ID_EDIT_SELECT_ALL = 57642;
inline constexpr CommandId ID_EDIT_UNDO = 57643;
inline constexpr CommandId ID_EDIT_REDO = 57644;
inline constexpr CommandId ID_WINDOW_NEW = 57648;
inline constexpr CommandId ID_WINDOW_ARRANGE = 57649;
inline constexpr CommandId ID_WINDOW_CASCADE = 57650;
inline constexpr CommandId ID_WINDOW_TILE_HORZ = 57651;
inline constexpr CommandId ID_APP_ABOUT = 57664;
inline constexpr CommandId ID_APP_EXIT = 57665;
inline constexpr CommandId ID_NEXT_PANE = 57680;
inline constexpr CommandId ID_PREV_PANE = 57681;
inline constexpr CommandId ID_VIEW_TOOLBAR = 59392;
inline constexpr CommandId ID_VIEW_STATUS_BAR = 59393;
inline constexpr CommandId ID_INDICATOR_CAPS = 59137;
inline constexpr CommandId ID_INDICATOR_NUM = 59138;
inline constexpr CommandId ID_INDICATOR_SCRL = 59139;

// Framework texts the framework shows itself.
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;
// Prompts of a child window's system menu and of the window list's entries.
inline constexpr unsigned AFX_IDS_SCSIZE = 61184;
inline constexpr unsigned AFX_IDS_SCMOVE = 61185;
inline constexpr unsigned AFX_IDS_SCMINIMIZE = 61186;
inline constexpr unsigned AFX_IDS_SCMAXIMIZE = 61187;
inline constexpr unsigned AFX_IDS_SCNEXTWINDOW = 61188;
inline constexpr unsigned AFX_IDS_SCPREVWINDOW = 61189;
inline constexpr unsigned AFX_IDS_SCCLOSE = 61190;
inline constexpr unsigned AFX_IDS_SCRESTORE = 61202;
inline constexpr unsigned AFX_IDS_SCTASKLIST = 61203;
inline constexpr unsigned AFX_IDS_MDICHILD = 61215;
inline constexpr unsigned AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr unsigned AFX_IDS_OPENFILE = 61440;
inline constexpr unsigned AFX_IDS_SAVEFILE = 61441;
inline constexpr unsigned AFX_IDS_ALLFILTER = 61442;
inline constexpr unsigned AFX_IDP_FAILED_TO_CREATE_DOC = 61700;
inline constexpr unsigned AFX_IDP_ASK_TO_SAVE = 61699;
inline constexpr unsigned AFX_IDP_FAILED_TO_START_PRINT = 61702;
inline constexpr unsigned AFX_IDP_UNREG_DONE = 61707;
inline constexpr unsigned AFX_IDP_PARSE_REAL = 61713;
inline constexpr unsigned AFX_IDP_PARSE_UINT = 61719;
inline constexpr unsigned AFX_IDP_FILE_NOT_FOUND = 61729;
inline constexpr unsigned AFX_IDP_FILE_SHARING = 61731;
inline constexpr unsigned AFX_IDP_FILE_GENERIC_READ = 61733;

// Asks before a file named by a path without extension is replaced.
inline constexpr unsigned FW_IDP_ASK_TO_REPLACE = 62010;

// The one-line edit's context menu.
inline constexpr unsigned FW_IDS_EDIT_UNDO = 62000;
inline constexpr unsigned FW_IDS_EDIT_CUT = 62001;
inline constexpr unsigned FW_IDS_EDIT_COPY = 62002;
inline constexpr unsigned FW_IDS_EDIT_PASTE = 62003;
inline constexpr unsigned FW_IDS_EDIT_DELETE = 62004;
inline constexpr unsigned FW_IDS_EDIT_SELECT_ALL = 62005;

} // namespace fw
