#include "Menus.h"

#include "Resource.h"

namespace resources {

using namespace fw;

const Resources& Tables()
{
    static const Resources tables = [] {
        Resources r;
        r.menus[IDR_MAINFRAME] = {
            Popup("&Файл",
                  {Item("&Новый\tStrg+N", ID_FILE_NEW), Item("Открыть...\tStrg+O", ID_FILE_OPEN),
                   Separator(), Item("Печать...", ID_FILE_PRINT_SETUP), Separator(),
                   Item("Прошлый файл", ID_FILE_MRU_FILE1, true), Separator(),
                   Item("&Выход", ID_APP_EXIT)}),
            Popup("&Окно", {Item("Строка инструментов", ID_VIEW_TOOLBAR),
                            Item("Строка состояния", ID_VIEW_STATUS_BAR)}),
            Popup("&?", {Item("Информация о программе", ID_APP_ABOUT)}),
        };
        r.menus[IDR_LAYOUTTYPE] = {
            Popup("&Файл",
                  {Item("&Новый\tStrg+N", ID_FILE_NEW), Item("Открыть...\tStrg+O", ID_FILE_OPEN),
                   Item("&Закрыть", ID_FILE_CLOSE), Item("Сохранить\tStrg+S", ID_FILE_SAVE),
                   Item("Сохранить как...", ID_FILE_SAVE_AS), Separator(),
                   Item("&Печать...\tStrg+P", ID_FILE_PRINT),
                   Item("Печать как...", ID_FILE_PRINT_SETUP), Separator(),
                   Item("Прошлый файл", ID_FILE_MRU_FILE1, true), Separator(),
                   Item("&Выход", ID_APP_EXIT)}),
            Popup("&Правка", {Item("&Шаг назад\tStrg+Z", ID_EDIT_UNDO), Separator(),
                              Item("&Вырезать\tStrg+X", ID_EDIT_CUT),
                              Item("&Копировать\tStrg+C", ID_EDIT_COPY),
                              Item("Вставить\tStrg+V", ID_EDIT_PASTE)}),
            Popup("&Окно", {Item("&Строка инструментов", ID_VIEW_TOOLBAR),
                            Item("Строка состояния", ID_VIEW_STATUS_BAR)}),
            Popup("&Бланк",
                  {Item("Новый бланк", ID_WINDOW_NEW), Item("Упорядочить", ID_WINDOW_CASCADE),
                   Item("&На части экрана", ID_WINDOW_TILE_HORZ),
                   Item("&Символы", ID_WINDOW_ARRANGE)},
                  true),
            Popup("&?", {Item("Информация о программе", ID_APP_ABOUT)}),
        };
        r.accelerators[IDR_MAINFRAME] = {
            {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
            {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
            {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
            {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
            {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
            {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
            {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
            {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
            {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
            {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
            {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
            {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
            {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
            {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        };
        ToolbarDefinition toolbar;
        toolbar.buttons = {ID_FILE_NEW,   ID_FILE_OPEN, ID_FILE_SAVE,  ID_SEPARATOR,
                           ID_EDIT_CUT,   ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
                           ID_FILE_PRINT, ID_SEPARATOR, ID_APP_ABOUT};
        toolbar.bitmap = &ToolbarBitmap;
        r.toolbars[IDR_MAINFRAME] = toolbar;

        ToolbarDefinition tools;
        tools.buttons = {ID_TOOL_DRAW, ID_TOOL_SELECT, ID_SEPARATOR,    ID_LAYOUT_UNDO,
                         ID_EDIT_REDO, ID_SEPARATOR,   ID_VIEW_HISTORY, ID_VIEW_NAMES};
        tools.bitmap = &ToolsBitmap;
        r.toolbars[IDR_TOOLS] = tools;

        ToolbarDefinition arrange;
        arrange.buttons = {ID_VIEW_GRID,     ID_SEPARATOR,    ID_ALIGN_LEFT,    ID_ALIGN_HCENTRE,
                           ID_ALIGN_RIGHT,   ID_ALIGN_TOP,    ID_ALIGN_VCENTRE, ID_ALIGN_BOTTOM,
                           ID_SEPARATOR,     ID_DISTRIBUTE_H, ID_DISTRIBUTE_V,  ID_SEPARATOR,
                           ID_SAME_WIDTH,    ID_SAME_HEIGHT,  ID_SAME_SIZE,     ID_SEPARATOR,
                           ID_EDIT_DUPLICATE};
        arrange.bitmap = &ArrangeBitmap;
        r.toolbars[IDR_ARRANGE] = arrange;
        return r;
    }();
    return tables;
}

} // namespace resources
