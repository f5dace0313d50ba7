// Picking controls on the canvas, moving and resizing them with the mouse and the keys, a
// rubber band, and the layout's undo and redo by key.
#pragma once

#include "CanvasTool.h"
#include "LayoutChange.h"
#include "geometry/Arrange.h"
#include "geometry/Snap.h"
#include "geometry/Transform.h"

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

class CSelectTool : public CCanvasTool
{
public:
    using CCanvasTool::CCanvasTool;

    void MousePress(QMouseEvent* event) override;
    void MouseMove(QMouseEvent* event) override;
    void MouseRelease(QMouseEvent* event) override;
    bool KeyPress(QKeyEvent* event) override;
    void Deactivate() override;
    void PaintOverlay(QPainter& painter) override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;
    void DocumentChanged(const CLayoutHint& hint) override;

    // Handle squares are this many device pixels across at every zoom.
    static constexpr int HANDLE_SIZE = 8;
    // A control is under the pointer within this many screen pixels of its outline.
    static constexpr double PICK_TOLERANCE = 3.0;
    // Moved edges snap to lines within this many screen pixels, at every zoom.
    static constexpr double SNAP_DISTANCE = 6.0;
    // A press becomes a drag once the pointer is this many device pixels away on an axis.
    static constexpr int DRAG_START = 3;

    // The device rectangles of the eight handles, in the order of HANDLES; none without a
    // selection.
    std::vector<QRect> HandleRects() const;

private:
    enum State
    {
        IDLE,
        PRESSED, // the button is down; not yet a drag
        MOVING,
        RESIZING,
        BANDING,
    };

    int HandleAt(QPoint device) const;
    int ControlAt(QPointF device, bool below) const;
    void Press(QPoint device, Qt::KeyboardModifiers modifiers);
    void Drag(QPoint device, Qt::KeyboardModifiers modifiers);
    void Click(Qt::KeyboardModifiers modifiers);
    void Cancel();
    // Back to idle with nothing of the gesture kept; changes nothing in the layout.
    void EndGesture();
    // A step of this tool's own gesture.
    void Change(IndexedControls values, unsigned step, int mergeId);
    double GridSpacing() const;
    double SnapTolerance() const;
    // A snapped delta, whole while every control dragged has whole coordinates.
    double Whole(double delta) const;
    void SnapMove(QPointF& delta);
    void SnapResize(QPointF& delta);
    void EndSnapping();
    void Finish(Qt::KeyboardModifiers modifiers);
    void UpdateCursor(QPoint device);
    // The layout pixels the pointer moved since the press, whole.
    QPointF LayoutDelta(QPoint device) const;
    IndexedControls SelectedControls() const;
    void SelectAlone(int index);
    void Toggle(int index);
    std::vector<LayoutControl> SelectedRecords() const;
    void Nudge(float dx, float dy, bool repeated);
    void DeleteSelection(unsigned step);
    void SelectAll();
    // Runs a command through the frame, as a menu item or a key would.
    void Run(fw::CommandId id);
    void ShowContextMenu(QPoint globalPosition);

    void Arrange(IndexedControls changed, unsigned step);
    void Align(Alignment alignment);
    void SameSizeAs(bool width, bool height);
    void Reorder(Order order);
    void Insert(std::vector<LayoutControl> controls, unsigned step);

    void OnEditUndo();
    void OnEditClear();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditDuplicate();
    void OnAlignLeft();
    void OnAlignHorizontalCentre();
    void OnAlignRight();
    void OnAlignTop();
    void OnAlignVerticalCentre();
    void OnAlignBottom();
    void OnDistributeHorizontally();
    void OnDistributeVertically();
    void OnSameWidth();
    void OnSameHeight();
    void OnSameSize();
    void OnRaise();
    void OnLower();
    void OnToTop();
    void OnToBottom();
    void OnUpdateEditUndo(fw::CommandState& state);
    void OnUpdateSelectAll(fw::CommandState& state);
    void OnUpdateNeedsSelection(fw::CommandState& state);
    void OnUpdateDistribute(fw::CommandState& state);
    void OnUpdateSameSize(fw::CommandState& state);
    void OnUpdateRaise(fw::CommandState& state);
    void OnUpdateLower(fw::CommandState& state);
    void OnUpdateEditPaste(fw::CommandState& state);

    State m_state = IDLE;
    QPoint m_press;
    int m_pressedControl = -1;
    int m_handle = 0;
    SelectionState m_pressSelection;
    IndexedControls m_originals;
    bool m_whole = true;
    QRect m_band;
    SnapLines m_lines;
    bool m_linesReady = false;
    std::optional<double> m_guideX;
    std::optional<double> m_guideY;
    bool m_changing = false;
};
