// A tool of the canvas: it receives the canvas's mouse and keys while it is the active one.
#pragma once

#include "Commands.h"

class CKarveloDoc;
struct CLayoutHint;
class CKarveloView;
class QKeyEvent;
class QMouseEvent;
class QPainter;

class CCanvasTool
{
public:
    explicit CCanvasTool(CKarveloView* canvas) : m_canvas(canvas) {}
    virtual ~CCanvasTool() = default;
    CCanvasTool(const CCanvasTool&) = delete;
    CCanvasTool& operator=(const CCanvasTool&) = delete;

    virtual void MousePress(QMouseEvent*) {}
    virtual void MouseDoubleClick(QMouseEvent*) {}
    virtual void MouseMove(QMouseEvent*) {}
    virtual void MouseRelease(QMouseEvent*) {}
    // true when the tool took the key.
    virtual bool KeyPress(QKeyEvent*) { return false; }
    // Another tool takes over: whatever is half done ends without a change.
    virtual void Deactivate() {}
    // The layout changed; hint says how. A tool that holds records of its own from before
    // lets them go unless it made the change itself.
    virtual void DocumentChanged(const CLayoutHint&) {}
    // What the tool adds to the picture, above the layout.
    virtual void PaintOverlay(QPainter&) {}
    // The commands the tool carries while the canvas is the active view.
    virtual bool OnCmdMsg(fw::CommandId, fw::CommandState*) { return false; }

protected:
    CKarveloDoc* Doc() const;

    CKarveloView* m_canvas;
};
