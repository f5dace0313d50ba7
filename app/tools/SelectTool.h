// Picking controls on the canvas, moving and resizing them with the mouse and the keys, a
// rubber band, and the layout's undo and redo by key.
#pragma once

#include "CanvasTool.h"
#include "LayoutHint.h"
#include "tools/Transform.h"

#include <QPoint>
#include <QRect>

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

    // Handle squares are this many device pixels across at every zoom.
    static constexpr int HANDLE_SIZE = 8;
    // A control is under the pointer within this many screen pixels of its outline.
    static constexpr double PICK_TOLERANCE = 3.0;

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
    void Finish(Qt::KeyboardModifiers modifiers);
    void UpdateCursor(QPoint device);
    // The layout pixels the pointer moved since the press, whole.
    QPointF LayoutDelta(QPoint device) const;
    IndexedControls SelectedControls() const;
    void SelectAlone(int index);
    void Toggle(int index);
    void Nudge(float dx, float dy, bool repeated);
    void DeleteSelection();
    void SelectAll();
    void OnEditUndo();
    void OnUpdateEditUndo(fw::CommandState& state);
    void OnUpdateSelectAll(fw::CommandState& state);

    State m_state = IDLE;
    QPoint m_press;
    int m_pressedControl = -1;
    int m_handle = 0;
    SelectionState m_pressSelection;
    IndexedControls m_originals;
    QRect m_band;
};
