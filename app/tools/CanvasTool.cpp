#include "tools/CanvasTool.h"

#include <QMouseEvent>
#include <QWidget>

QPoint CCanvasTool::DevicePoint(const QMouseEvent* event) const
{
    return (event->position() * m_host.Widget()->devicePixelRatioF()).toPoint();
}

bool CCanvasTool::OnCanvas(const QMouseEvent* event) const
{
    return m_host.Widget()->rect().contains(event->position().toPoint());
}
