#include "tools/CanvasMenu.h"

#include "CommandIds.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "resources/Resource.h"

#include <QMenu>

using namespace resources;

void ShowCanvasMenu(QWidget* canvas, fw::MdiFrame* frame, QPoint globalPosition)
{
    if (!frame)
        return;
    QMenu menu(canvas);
    menu.setObjectName(QStringLiteral("canvasMenu"));
    auto add = [&](QMenu* to, unsigned text, fw::CommandId id) {
        QAction* action = to->addAction(fw::LoadString(text));
        fw::CommandState state;
        action->setEnabled(frame->RouteCommand(id, &state) && state.enabled);
        action->setStatusTip(fw::PromptOf(fw::LoadString(id)));
        action->setData(id);
        QObject::connect(action, &QAction::triggered, frame,
                         [frame, id] { frame->ExecuteCommand(id); });
    };
    add(&menu, IDS_MENU_UNDO, fw::ID_EDIT_UNDO);
    add(&menu, IDS_MENU_REDO, fw::ID_EDIT_REDO);
    menu.addSeparator();
    add(&menu, IDS_MENU_CUT, fw::ID_EDIT_CUT);
    add(&menu, IDS_MENU_COPY, fw::ID_EDIT_COPY);
    add(&menu, IDS_MENU_PASTE, fw::ID_EDIT_PASTE);
    add(&menu, IDS_MENU_DUPLICATE, ID_EDIT_DUPLICATE);
    add(&menu, IDS_MENU_DELETE, fw::ID_EDIT_CLEAR);
    menu.addSeparator();
    add(&menu, IDS_MENU_SELECT_ALL, fw::ID_EDIT_SELECT_ALL);
    QMenu* sameAs = menu.addMenu(fw::LoadString(IDS_MENU_SAME_AS));
    add(sameAs, IDS_MENU_SAME_TEXT, ID_SELECT_SAME_TEXT);
    add(sameAs, IDS_MENU_SAME_RESOURCE, ID_SELECT_SAME_RESOURCE);
    add(sameAs, IDS_MENU_SAME_SIZE_AS, ID_SELECT_SAME_SIZE);
    menu.addSeparator();
    QMenu* align = menu.addMenu(fw::LoadString(IDS_MENU_ALIGN));
    add(align, IDS_MENU_ALIGN_LEFT, ID_ALIGN_LEFT);
    add(align, IDS_MENU_ALIGN_HCENTRE, ID_ALIGN_HCENTRE);
    add(align, IDS_MENU_ALIGN_RIGHT, ID_ALIGN_RIGHT);
    add(align, IDS_MENU_ALIGN_TOP, ID_ALIGN_TOP);
    add(align, IDS_MENU_ALIGN_VCENTRE, ID_ALIGN_VCENTRE);
    add(align, IDS_MENU_ALIGN_BOTTOM, ID_ALIGN_BOTTOM);
    QMenu* distribute = menu.addMenu(fw::LoadString(IDS_MENU_DISTRIBUTE));
    add(distribute, IDS_MENU_DISTRIBUTE_H, ID_DISTRIBUTE_H);
    add(distribute, IDS_MENU_DISTRIBUTE_V, ID_DISTRIBUTE_V);
    QMenu* same = menu.addMenu(fw::LoadString(IDS_MENU_SAME));
    add(same, IDS_MENU_SAME_WIDTH, ID_SAME_WIDTH);
    add(same, IDS_MENU_SAME_HEIGHT, ID_SAME_HEIGHT);
    add(same, IDS_MENU_SAME_SIZE, ID_SAME_SIZE);
    QMenu* order = menu.addMenu(fw::LoadString(IDS_MENU_ORDER));
    add(order, IDS_MENU_RAISE, ID_ORDER_RAISE);
    add(order, IDS_MENU_LOWER, ID_ORDER_LOWER);
    add(order, IDS_MENU_TO_TOP, ID_ORDER_TO_TOP);
    add(order, IDS_MENU_TO_BOTTOM, ID_ORDER_TO_BOTTOM);
    menu.exec(globalPosition);
}
