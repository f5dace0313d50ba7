// Picking controls on the canvas, moving and resizing them with the mouse and the keys, and a
// rubber band. What the tool does to the layout it asks of the edit model's operations; the
// Edit commands it carries on the canvas are CSelectCommands.
#pragma once

#include "LayoutChange.h"
#include "LayoutPainter.h"
#include "geometry/Measure.h"
#include "geometry/Snap.h"
#include "geometry/Transform.h"
#include "tools/CanvasTool.h"
#include "tools/SelectCommands.h"
#include "tools/SelectKeys.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include <QObject>

#include <optional>
#include <vector>

class CSelectTool : public CCanvasTool
{
public:
    explicit CSelectTool(CCanvasHost& host);

    void MousePress(QMouseEvent* event) override;
    // A quick second click is a click like the first.
    void MouseDoubleClick(QMouseEvent* event) override { MousePress(event); }
    void MouseMove(QMouseEvent* event) override;
    void MouseRelease(QMouseEvent* event) override;
    bool KeyPress(QKeyEvent* event) override;
    void KeyRelease(QKeyEvent* event) override;
    void FocusLost() override;
    void Deactivate() override;
    void Activate() override;
    void PaintOverlay(QPainter& painter) override;
    QRegion OverlayRegion() const override;
    QRegion OverlayDamage() const override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;
    void DocumentChanged(const LayoutChange& change) override;

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
    // No gesture is open: the commands may act.
    bool Idle() const { return m_state == IDLE; }

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
    // The selection moved by (dx, dy) from where the press found it.
    void Move(double dx, double dy);
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
    // Runs a command through the frame, as a menu item or a key would.
    void Run(fw::CommandId id);
    // The distances the canvas shows now, in layout pixels: with Alt held, to the control
    // under the pointer (or the screen); while the selection moves, to its nearest neighbours.
    std::vector<Measure> Measures(const LayoutBox& selection) const;
    // What the tool draws above the picture, in device pixels: guides, handles, the band,
    // distances and the label by the pointer.
    struct Overlay
    {
        struct Fill
        {
            QRect rect;
            QColor colour;
            bool operator==(const Fill&) const = default;
        };
        struct Text
        {
            QRect box;
            QString text;
            QColor colour;
            bool framed;
            bool operator==(const Text&) const = default;
        };
        std::vector<Fill> fills;
        std::vector<Text> texts;
        QRect band;
        QRegion Region() const;
        // Where this overlay and other differ: the parts either has and the other has not.
        QRegion Differences(const Overlay& other) const;
    };
    Overlay BuildOverlay() const;
    const Overlay& CurrentOverlay() const;
    void AddMeasures(Overlay& overlay, const std::vector<Measure>& measures) const;
    // Near the pointer while dragging: where the selection is, or how large.
    void AddDragLabel(Overlay& overlay, const LayoutBox& selection) const;
    void SetMeasuring(bool alt);

    CSelectCommands m_commands;
    CSelectKeys m_keys;
    State m_state = IDLE;
    QPoint m_press;
    int m_pressedControl = -1;
    int m_handle = 0;
    SelectionState m_pressSelection;
    IndexedControls m_originals;
    std::vector<std::size_t> m_originalIndices;
    LayoutBox m_originalBounds;
    bool m_whole = true;
    QRect m_band;
    SnapLines m_lines;
    bool m_linesReady = false;
    std::optional<double> m_guideX;
    std::optional<double> m_guideY;
    bool m_altHeld = false;
    // While the distances show: hears Alt let go wherever the keys go (the list, a field).
    class AltRelease : public QObject
    {
    public:
        explicit AltRelease(CSelectTool& tool) : m_tool(tool) {}
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        CSelectTool& m_tool;
    };
    AltRelease m_altRelease{*this};
    bool m_nudging = false; // an arrow key is down
    QPoint m_pointer;       // where the pointer was last, in device pixels
    // Every event and every change of the layout counts on; the overlay made at one count
    // serves until the next.
    unsigned m_generation = 0;
    mutable std::optional<Overlay> m_overlay;
    mutable unsigned m_overlayGeneration = 0;
    mutable CanvasMapping m_overlayMapping;
    mutable QSize m_overlaySize;
    // The overlay as the picture holds it since the last paint.
    Overlay m_painted;
};
