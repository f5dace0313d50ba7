#include "DrawTool.h"

#include "KarveloDoc.h"
#include "KarveloView.h"
#include "LayoutPainter.h"

#include <QMouseEvent>

#include <cstdlib>

namespace {

// Window pixels to layout coordinates: integer subtraction, then float (exact here).
float layoutCoordinate(int pixel)
{
    return static_cast<float>(pixel - CANVAS_MARGIN);
}

int truncated(float value)
{
    return value >= -2147483648.0f && value < 2147483648.0f ? static_cast<int>(value) : 0;
}

} // namespace

void CDrawTool::MousePress(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
}

void CDrawTool::MouseDoubleClick(QMouseEvent* event)
{
    // The second press of a double click starts no drag; its release then finds none open.
    event->accept();
}

void CDrawTool::MouseMove(QMouseEvent* event)
{
    // Qt keeps sending moves to the pressed widget outside it: the canvas only sees its own.
    if (m_canvas->rect().contains(event->position().toPoint()))
        OnMouseMove(event->position().toPoint());
}

void CDrawTool::MouseRelease(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_canvas->rect().contains(event->position().toPoint()))
        OnLButtonUp(event->position().toPoint());
}

void CDrawTool::Deactivate()
{
    m_canvas->m_dragging = false;
}

void CDrawTool::OnLButtonDown(QPoint point)
{
    CKarveloDoc* doc = Doc();
    if (!doc)
        return;
    m_canvas->m_dragging = true;
    doc->StageNewControl(layoutCoordinate(point.x()), layoutCoordinate(point.y()));
}

void CDrawTool::OnMouseMove(QPoint point)
{
    CKarveloDoc* doc = Doc();
    if (!doc || !m_canvas->m_dragging)
        return;
    doc->MoveNewControl(layoutCoordinate(point.x()), layoutCoordinate(point.y()));
}

void CDrawTool::OnLButtonUp(QPoint point)
{
    CKarveloDoc* doc = Doc();
    if (!doc || !m_canvas->m_dragging)
        return;
    doc->MoveNewControl(layoutCoordinate(point.x()), layoutCoordinate(point.y()));
    const LayoutControl& staged = doc->m_newControl;
    const int dx = truncated(layoutCoordinate(point.x()) - staged.m_x1);
    const int dy = truncated(layoutCoordinate(point.y()) - staged.m_y1);
    if (std::abs(dx) >= 1 && std::abs(dy) >= 1) {
        doc->NameNewControl();
        // Every panel of the document shows the new control; every canvas repaints.
        doc->AddNewControl();
    }
    m_canvas->m_dragging = false;
}
