#include "tools/DrawTool.h"

#include "LayoutPainter.h"
#include "document/KarveloDoc.h"

#include <QMouseEvent>

#include <cmath>
#include <cstdlib>

namespace {

int truncated(float value)
{
    return value >= -2147483648.0f && value < 2147483648.0f ? static_cast<int>(value) : 0;
}

} // namespace

// Device pixels to layout coordinates: the inverse mapping, to whole layout pixels. At 100 %
// that is the pixel minus the margin, exactly.
QPointF CDrawTool::LayoutPoint(QPoint device) const
{
    const CanvasMapping& mapping = m_host.Mapping();
    return QPointF(std::round(mapping.LayoutX(device.x())),
                   std::round(mapping.LayoutY(device.y())));
}

void CDrawTool::MousePress(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(LayoutPoint(DevicePoint(event)));
}

void CDrawTool::MouseDoubleClick(QMouseEvent* event)
{
    // The second press of a double click starts no drag; its release then finds none open.
    event->accept();
}

void CDrawTool::MouseMove(QMouseEvent* event)
{
    // Qt keeps sending moves to the pressed widget outside it: the canvas only sees its own.
    if (OnCanvas(event))
        OnMouseMove(LayoutPoint(DevicePoint(event)));
}

void CDrawTool::MouseRelease(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnCanvas(event))
        OnLButtonUp(LayoutPoint(DevicePoint(event)));
}

void CDrawTool::Deactivate()
{
    m_host.Dragging() = false;
}

void CDrawTool::OnLButtonDown(QPointF point)
{
    CKarveloDoc* doc = Doc();
    if (!doc)
        return;
    m_host.Dragging() = true;
    doc->StageNewControl(static_cast<float>(point.x()), static_cast<float>(point.y()));
}

void CDrawTool::OnMouseMove(QPointF point)
{
    CKarveloDoc* doc = Doc();
    if (!doc || !m_host.Dragging())
        return;
    doc->MoveNewControl(static_cast<float>(point.x()), static_cast<float>(point.y()));
}

void CDrawTool::OnLButtonUp(QPointF point)
{
    CKarveloDoc* doc = Doc();
    if (!doc || !m_host.Dragging())
        return;
    const auto x = static_cast<float>(point.x());
    const auto y = static_cast<float>(point.y());
    doc->MoveNewControl(x, y);
    const LayoutControl& staged = doc->m_newControl;
    const int dx = truncated(x - staged.m_x1);
    const int dy = truncated(y - staged.m_y1);
    if (std::abs(dx) >= 1 && std::abs(dy) >= 1) {
        doc->NameNewControl();
        // Every panel of the document shows the new control; every canvas repaints.
        doc->AddNewControl();
    }
    m_host.Dragging() = false;
}
