// A tool of the canvas: it receives the canvas's mouse and keys while it is the active one,
// and turns them into changes through the document's edit model. It knows the canvas only
// through CCanvasHost.
#pragma once

#include "Commands.h"

#include <QPoint>
#include <QRegion>

class CEditorSettings;
class CHitIndex;
class CKarveloDoc;
struct CanvasMapping;
struct LayoutChange;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;

namespace fw {
class MdiFrame;
}

// What a tool needs of the canvas it works on.
class CCanvasHost
{
public:
    virtual ~CCanvasHost() = default;
    virtual CKarveloDoc* Doc() const = 0;
    // The canvas as a widget: its size, cursor, repaints, and the parent of its menus.
    virtual QWidget* Widget() = 0;
    // Layout coordinates to device pixels and back.
    virtual const CanvasMapping& Mapping() const = 0;
    // Which controls lie under a point, kept up to date with the layout.
    virtual CHitIndex& Hits() = 0;
    virtual const CEditorSettings& Settings() const = 0;
    // The frame the canvas stands in, which routes commands (null while it stands in none).
    virtual fw::MdiFrame* Frame() const = 0;
    // The Draw tool's drag flag, a field of the canvas.
    virtual bool& Dragging() = 0;
    // The tool's overlay changed, nothing else: the canvas repaints where it was and is.
    virtual void OverlayChanged() = 0;
    // Moves the picture by device pixels, as a pan with the mouse does.
    virtual void Pan(int dx, int dy) = 0;
};

class CCanvasTool
{
public:
    explicit CCanvasTool(CCanvasHost& host) : m_host(host) {}
    virtual ~CCanvasTool() = default;
    CCanvasTool(const CCanvasTool&) = delete;
    CCanvasTool& operator=(const CCanvasTool&) = delete;

    virtual void MousePress(QMouseEvent*) {}
    virtual void MouseDoubleClick(QMouseEvent*) {}
    virtual void MouseMove(QMouseEvent*) {}
    virtual void MouseRelease(QMouseEvent*) {}
    // true when the tool took the key.
    virtual bool KeyPress(QKeyEvent*) { return false; }
    virtual void KeyRelease(QKeyEvent*) {}
    // The canvas lost the keyboard: keys held down are up for the tool.
    virtual void FocusLost() {}
    // Another tool takes over: whatever is half done ends without a change.
    virtual void Deactivate() {}
    // This tool takes over: what it knew of the layout may be old.
    virtual void Activate() {}
    // The layout changed as change says. A tool that holds records of its own gesture lets
    // them go when someone else changed the layout (the tool names itself as the sender of
    // its own changes; the canvas hears them all the same).
    virtual void DocumentChanged(const LayoutChange&) {}
    // What the tool adds to the picture, above the layout, and where it does (device
    // pixels): a partial repaint covers where the overlay was and where it is now.
    virtual void PaintOverlay(QPainter&) {}
    virtual QRegion OverlayRegion() const { return QRegion(); }
    // Where the overlay the picture holds and the overlay now differ: what a repaint of the
    // overlay alone must cover.
    virtual QRegion OverlayDamage() const { return QRegion(); }
    // The commands the tool carries while the canvas is the active view.
    virtual bool OnCmdMsg(fw::CommandId, fw::CommandState*) { return false; }

protected:
    CKarveloDoc* Doc() const { return m_host.Doc(); }
    // An event's position in device pixels: at 100 % one layout pixel is one device pixel.
    QPoint DevicePoint(const QMouseEvent* event) const;
    // Whether an event's position lies on the canvas (a drag's moves come from outside too).
    bool OnCanvas(const QMouseEvent* event) const;

    CCanvasHost& m_host;
};
