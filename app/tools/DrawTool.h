// Drawing new controls: a press fixes the first corner, the pointer moves the second, and a
// release that spans a pixel both ways makes the control. Nothing shows while the drag is open.
#pragma once

#include "CanvasTool.h"

class QPoint;

class CDrawTool : public CCanvasTool
{
public:
    using CCanvasTool::CCanvasTool;

    void MousePress(QMouseEvent* event) override;
    void MouseDoubleClick(QMouseEvent* event) override;
    void MouseMove(QMouseEvent* event) override;
    void MouseRelease(QMouseEvent* event) override;
    void Deactivate() override;

private:
    void OnLButtonDown(QPoint point);
    void OnMouseMove(QPoint point);
    void OnLButtonUp(QPoint point);
};
