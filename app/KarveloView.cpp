#include "KarveloView.h"

#include "KarveloDoc.h"
#include "LayoutPainter.h"
#include "resources/Resource.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

#include <cstdlib>
#include <string>

CKarveloView::CKarveloView()
{
    // Moves matter while a drag is open even when no button is held (a release outside the
    // canvas leaves the drag open).
    setMouseTracking(true);
}

CKarveloView::~CKarveloView()
{
    if (CKarveloDoc* doc = GetDocument())
        doc->ReleaseView(this);
}

CKarveloDoc* CKarveloView::GetDocument() const
{
    return static_cast<CKarveloDoc*>(fw::View::GetDocument());
}

void CKarveloView::OnInitialUpdate()
{
    fw::View::OnInitialUpdate();
    if (CKarveloDoc* doc = GetDocument())
        doc->m_canvas = this;
}

void CKarveloView::OnDraw(QPainter& painter)
{
    const CKarveloDoc* doc = GetDocument();
    if (!doc)
        return;
    const QPaintDevice* device = painter.device();
    PaintLayout(painter, QRect(0, 0, device->width(), device->height()), doc->m_layout.m_controls,
                doc->m_currentControl);
}

QSize CKarveloView::sizeHint() const
{
    // The whole layout screen and its margins.
    return QSize(800 + 2 * CANVAS_MARGIN, 600 + 2 * CANVAS_MARGIN);
}

bool CKarveloView::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CKarveloView> table = {
        {fw::ID_FILE_PRINT, &CKarveloView::OnFilePrint},
        {fw::ID_FILE_PRINT_DIRECT, &CKarveloView::OnFilePrintDirect},
        {fw::ID_FILE_PRINT_PREVIEW, &CKarveloView::OnFilePrintPreview},
    };
    return table.Dispatch(this, id, state) || fw::View::OnCmdMsg(id, state);
}

void CKarveloView::paintEvent(QPaintEvent* event)
{
    fw::View::paintEvent(event);
    // For start-up measurements: the program ends once a canvas has been painted.
    static const bool exitAfterPaint = qEnvironmentVariableIsSet("KARVELO_EXIT_AFTER_FIRST_PAINT");
    if (exitAfterPaint)
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void CKarveloView::mousePressEvent(QMouseEvent* event)
{
    fw::View::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
}

void CKarveloView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click starts no drag; its release then finds none open.
    event->accept();
}

void CKarveloView::mouseMoveEvent(QMouseEvent* event)
{
    fw::View::mouseMoveEvent(event);
    // Qt keeps sending moves to the pressed widget outside it: the canvas only sees its own.
    if (rect().contains(event->position().toPoint()))
        OnMouseMove(event->position().toPoint());
}

void CKarveloView::mouseReleaseEvent(QMouseEvent* event)
{
    fw::View::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        OnLButtonUp(event->position().toPoint());
}

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

void CKarveloView::OnLButtonDown(QPoint point)
{
    CKarveloDoc* doc = GetDocument();
    if (!doc)
        return;
    m_dragging = true;
    doc->m_newControl.m_x1 = doc->m_newControl.m_x2 = layoutCoordinate(point.x());
    doc->m_newControl.m_y1 = doc->m_newControl.m_y2 = layoutCoordinate(point.y());
}

void CKarveloView::OnMouseMove(QPoint point)
{
    CKarveloDoc* doc = GetDocument();
    if (!doc || !m_dragging)
        return;
    doc->m_newControl.m_x2 = layoutCoordinate(point.x());
    doc->m_newControl.m_y2 = layoutCoordinate(point.y());
}

void CKarveloView::OnLButtonUp(QPoint point)
{
    CKarveloDoc* doc = GetDocument();
    if (!doc || !m_dragging)
        return;
    LayoutControl& staged = doc->m_newControl;
    staged.m_x2 = layoutCoordinate(point.x());
    staged.m_y2 = layoutCoordinate(point.y());
    const int dx = truncated(layoutCoordinate(point.x()) - staged.m_x1);
    const int dy = truncated(layoutCoordinate(point.y()) - staged.m_y1);
    if (std::abs(dx) >= 1 && std::abs(dy) >= 1) {
        const auto count = static_cast<std::uint32_t>(doc->m_layout.m_controls.size());
        staged.m_id = count;
        staged.m_name = "UNBENANNT" + std::to_string(count);
        doc->AddNewControl();
        // Every panel of the document shows the new control; every canvas repaints.
        doc->ShowCurrentControlInPanels(nullptr);
        doc->RepaintCanvases();
    }
    m_dragging = false;
}
