// The Select tool's commands: arranging, list order, the clipboard and the context menu.
#include "SelectTool.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "KarveloDoc.h"
#include "KarveloView.h"
#include "LayoutClipboard.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "commands/LayoutCommand.h"
#include "resources/Resource.h"
#include "geometry/PasteRules.h"

#include <QKeyEvent>
#include <QMenu>

using namespace resources;

void CSelectTool::Nudge(float dx, float dy, bool repeated)
{
    CKarveloDoc* doc = Doc();
    if (doc->Selection().selected.empty())
        return;
    // A key held down is one step; each new press is another.
    if (!repeated)
        doc->NewGesture();
    doc->ChangeControls(nullptr, Moved(SelectedControls(), dx, dy), fw::LoadString(IDS_STEP_MOVE),
                        MERGE_NUDGE);
}

void CSelectTool::OnEditClear()
{
    DeleteSelection(IDS_STEP_DELETE);
}

void CSelectTool::DeleteSelection(unsigned step)
{
    CKarveloDoc* doc = Doc();
    const std::vector<std::size_t> selected = doc->Selection().selected;
    if (selected.empty())
        return;
    // The control that followed the first one deleted becomes current; at the end, the last.
    const auto left = static_cast<int>(doc->m_layout.m_controls.size() - selected.size());
    const int current = left == 0 ? -1 : std::min(static_cast<int>(selected.front()), left - 1);
    doc->RemoveControls(nullptr, selected, current, fw::LoadString(step));
}

void CSelectTool::SelectAll()
{
    CKarveloDoc* doc = Doc();
    SelectionState all;
    const std::size_t count = doc->m_layout.m_controls.size();
    all.selected.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        all.selected[i] = i;
    all.current = doc->CurrentIndex() >= 0 ? doc->CurrentIndex() : static_cast<int>(count) - 1;
    doc->SetSelection(nullptr, std::move(all));
}

bool CSelectTool::KeyPress(QKeyEvent* event)
{
    CKarveloDoc* doc = Doc();
    if (!doc)
        return false;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        if (m_state != IDLE)
            Cancel();
        else
            doc->SetSelection(nullptr, SelectionState());
        return true;
    }
    if (m_state != IDLE)
        return false;
    if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && modifiers == Qt::NoModifier) {
        DeleteSelection(IDS_STEP_DELETE);
        return true;
    }
    if (key == Qt::Key_A && modifiers == Qt::ControlModifier) {
        SelectAll();
        return true;
    }
    if (key == Qt::Key_D && modifiers == Qt::ControlModifier) {
        Run(resources::ID_EDIT_DUPLICATE);
        return true;
    }
    if (modifiers == Qt::NoModifier) {
        const std::pair<int, fw::CommandId> orderKeys[] = {
            {Qt::Key_PageUp, resources::ID_ORDER_RAISE},
            {Qt::Key_PageDown, resources::ID_ORDER_LOWER},
            {Qt::Key_Home, resources::ID_ORDER_TO_TOP},
            {Qt::Key_End, resources::ID_ORDER_TO_BOTTOM},
        };
        for (const auto& [orderKey, id] : orderKeys) {
            if (key == orderKey) {
                Run(id);
                return true;
            }
        }
    }
    if ((key == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        doc->UndoStack()->redo();
        return true;
    }
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
        const float step = modifiers == Qt::ShiftModifier ? 10.0f : 1.0f;
        switch (key) {
        case Qt::Key_Left:
            Nudge(-step, 0, event->isAutoRepeat());
            return true;
        case Qt::Key_Right:
            Nudge(step, 0, event->isAutoRepeat());
            return true;
        case Qt::Key_Up:
            Nudge(0, -step, event->isAutoRepeat());
            return true;
        case Qt::Key_Down:
            Nudge(0, step, event->isAutoRepeat());
            return true;
        default:
            break;
        }
    }
    return false;
}

void CSelectTool::OnEditUndo()
{
    if (CKarveloDoc* doc = Doc())
        doc->UndoStack()->undo();
}

void CSelectTool::OnUpdateEditUndo(fw::CommandState& state)
{
    CKarveloDoc* doc = Doc();
    state.Enable(doc && doc->UndoStack()->canUndo() && m_state == IDLE);
}

void CSelectTool::OnUpdateSelectAll(fw::CommandState& state)
{
    CKarveloDoc* doc = Doc();
    state.Enable(doc && !doc->m_layout.m_controls.empty());
}

bool CSelectTool::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    using namespace resources;
    using T = CSelectTool;
    static const fw::CommandTable<CSelectTool> table = {
        {fw::ID_EDIT_UNDO, &T::OnEditUndo, &T::OnUpdateEditUndo},
        {fw::ID_EDIT_SELECT_ALL, &T::SelectAll, &T::OnUpdateSelectAll},
        {fw::ID_EDIT_COPY, &T::OnEditCopy, &T::OnUpdateNeedsSelection},
        {fw::ID_EDIT_CUT, &T::OnEditCut, &T::OnUpdateNeedsSelection},
        {fw::ID_EDIT_PASTE, &T::OnEditPaste, &T::OnUpdateEditPaste},
        {fw::ID_EDIT_CLEAR, &T::OnEditClear, &T::OnUpdateNeedsSelection},
        {ID_EDIT_DUPLICATE, &T::OnEditDuplicate, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_LEFT, &T::OnAlignLeft, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_HCENTRE, &T::OnAlignHorizontalCentre, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_RIGHT, &T::OnAlignRight, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_TOP, &T::OnAlignTop, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_VCENTRE, &T::OnAlignVerticalCentre, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_BOTTOM, &T::OnAlignBottom, &T::OnUpdateNeedsSelection},
        {ID_DISTRIBUTE_H, &T::OnDistributeHorizontally, &T::OnUpdateDistribute},
        {ID_DISTRIBUTE_V, &T::OnDistributeVertically, &T::OnUpdateDistribute},
        {ID_SAME_WIDTH, &T::OnSameWidth, &T::OnUpdateSameSize},
        {ID_SAME_HEIGHT, &T::OnSameHeight, &T::OnUpdateSameSize},
        {ID_SAME_SIZE, &T::OnSameSize, &T::OnUpdateSameSize},
        {ID_ORDER_RAISE, &T::OnRaise, &T::OnUpdateRaise},
        {ID_ORDER_TO_TOP, &T::OnToTop, &T::OnUpdateRaise},
        {ID_ORDER_LOWER, &T::OnLower, &T::OnUpdateLower},
        {ID_ORDER_TO_BOTTOM, &T::OnToBottom, &T::OnUpdateLower},
    };
    return table.Dispatch(this, id, state);
}

void CSelectTool::Run(fw::CommandId id)
{
    if (fw::MdiFrame* frame = fw::App() ? fw::App()->MainFrame() : nullptr)
        frame->ExecuteCommand(id);
}

std::vector<LayoutControl> CSelectTool::SelectedRecords() const
{
    std::vector<LayoutControl> records;
    for (auto& [index, control] : SelectedControls())
        records.push_back(std::move(control));
    return records;
}

void CSelectTool::OnUpdateNeedsSelection(fw::CommandState& state)
{
    const CKarveloDoc* doc = Doc();
    state.Enable(doc && !doc->Selection().selected.empty() && m_state == IDLE);
}

void CSelectTool::OnUpdateDistribute(fw::CommandState& state)
{
    const CKarveloDoc* doc = Doc();
    state.Enable(doc && doc->Selection().selected.size() >= 3 && m_state == IDLE);
}

void CSelectTool::OnUpdateSameSize(fw::CommandState& state)
{
    const CKarveloDoc* doc = Doc();
    state.Enable(doc && doc->Selection().selected.size() >= 2 && doc->CurrentIndex() >= 0 &&
                 m_state == IDLE);
}

void CSelectTool::OnUpdateRaise(fw::CommandState& state)
{
    // Anything to raise unless the selection is the end of the list already.
    const CKarveloDoc* doc = Doc();
    const auto& selected = doc ? doc->Selection().selected : std::vector<std::size_t>();
    const std::size_t count = doc ? doc->m_layout.m_controls.size() : 0;
    state.Enable(!selected.empty() && selected.front() != count - selected.size() &&
                 m_state == IDLE);
}

void CSelectTool::OnUpdateLower(fw::CommandState& state)
{
    const CKarveloDoc* doc = Doc();
    const auto& selected = doc ? doc->Selection().selected : std::vector<std::size_t>();
    state.Enable(!selected.empty() && selected.back() != selected.size() - 1 && m_state == IDLE);
}

void CSelectTool::OnUpdateEditPaste(fw::CommandState& state)
{
    state.Enable(Doc() && ClipboardMayHoldControls() && m_state == IDLE);
}

void CSelectTool::Arrange(IndexedControls changed, unsigned step)
{
    Doc()->ChangeControls(nullptr, std::move(changed), fw::LoadString(step), MERGE_NONE);
}

void CSelectTool::Align(Alignment alignment)
{
    const IndexedControls selected = SelectedControls();
    Arrange(Aligned(selected, alignment, AlignmentBox(selected)), IDS_STEP_ALIGN);
}

void CSelectTool::OnAlignLeft()
{
    Align(Alignment::Left);
}
void CSelectTool::OnAlignHorizontalCentre()
{
    Align(Alignment::HorizontalCentre);
}
void CSelectTool::OnAlignRight()
{
    Align(Alignment::Right);
}
void CSelectTool::OnAlignTop()
{
    Align(Alignment::Top);
}
void CSelectTool::OnAlignVerticalCentre()
{
    Align(Alignment::VerticalCentre);
}
void CSelectTool::OnAlignBottom()
{
    Align(Alignment::Bottom);
}

void CSelectTool::OnDistributeHorizontally()
{
    Arrange(Distributed(SelectedControls(), true), IDS_STEP_DISTRIBUTE);
}

void CSelectTool::OnDistributeVertically()
{
    Arrange(Distributed(SelectedControls(), false), IDS_STEP_DISTRIBUTE);
}

void CSelectTool::SameSizeAs(bool width, bool height)
{
    const CKarveloDoc* doc = Doc();
    if (!doc->m_currentControl)
        return;
    Arrange(::SameSize(SelectedControls(), *doc->m_currentControl, width, height),
            IDS_STEP_SAME_SIZE);
}

void CSelectTool::OnSameWidth()
{
    SameSizeAs(true, false);
}
void CSelectTool::OnSameHeight()
{
    SameSizeAs(false, true);
}
void CSelectTool::OnSameSize()
{
    SameSizeAs(true, true);
}

void CSelectTool::Reorder(Order order)
{
    CKarveloDoc* doc = Doc();
    doc->ReorderControls(
        nullptr, Reordered(doc->m_layout.m_controls.size(), doc->Selection().selected, order),
        fw::LoadString(IDS_STEP_REORDER));
}

void CSelectTool::OnRaise()
{
    Reorder(Order::Raise);
}
void CSelectTool::OnLower()
{
    Reorder(Order::Lower);
}
void CSelectTool::OnToTop()
{
    Reorder(Order::ToTop);
}
void CSelectTool::OnToBottom()
{
    Reorder(Order::ToBottom);
}

void CSelectTool::OnEditCopy()
{
    CopyControlsToClipboard(SelectedRecords());
}

void CSelectTool::OnEditCut()
{
    CopyControlsToClipboard(SelectedRecords());
    DeleteSelection(IDS_STEP_CUT);
}

void CSelectTool::Insert(std::vector<LayoutControl> controls, unsigned step)
{
    CKarveloDoc* doc = Doc();
    std::string badName;
    if (!FitPastedControls(doc->m_layout.m_controls, controls, badName)) {
        fw::MessageBox(fw::FormatString(IDS_PASTE_BAD_NAME, fw::FromBytes(badName)), fw::MB_OK,
                       fw::MB_ICONWARNING);
        return;
    }
    // After the last control, in their own order.
    IndexedControls values;
    const std::size_t first = doc->m_layout.m_controls.size();
    for (std::size_t i = 0; i < controls.size(); ++i)
        values.emplace_back(first + i, std::move(controls[i]));
    doc->InsertControls(nullptr, std::move(values), fw::LoadString(step));
}

void CSelectTool::OnEditPaste()
{
    std::vector<LayoutControl> controls;
    QString why;
    if (!ControlsFromClipboard(controls, why)) {
        fw::MessageBox(why, fw::MB_OK, fw::MB_ICONWARNING);
        return;
    }
    Insert(std::move(controls), IDS_STEP_PASTE);
}

void CSelectTool::OnEditDuplicate()
{
    Insert(SelectedRecords(), IDS_STEP_DUPLICATE);
}

void CSelectTool::ShowContextMenu(QPoint globalPosition)
{
    fw::MdiFrame* frame = fw::App() ? fw::App()->MainFrame() : nullptr;
    if (!frame)
        return;
    QMenu menu(m_canvas);
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
