// Drawing new controls: a press fixes the first corner, the pointer moves the second, and a
// release that spans a pixel both ways makes the control. Nothing shows while the drag is open.
#pragma once

#include "CanvasTool.h"

#include <QPointF>

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
    QPointF LayoutPoint(QPoint device) const;
    // The three steps of a drawing, at a point in layout coordinates.
    void OnLButtonDown(QPointF point);
    void OnMouseMove(QPointF point);
    void OnLButtonUp(QPointF point);
};
