#include "views/KarveloView.h"

#include "LayoutPainter.h"
#include "MdiFrame.h"
#include "document/KarveloDoc.h"
#include "document/LayoutHint.h"
#include "tools/DrawTool.h"
#include "tools/SelectTool.h"
#include "views/CanvasAccessible.h"
#include "views/EditorSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

CKarveloView::CKarveloView(CEditorSettings& settings)
    : m_settings(settings), m_drawTool(std::make_unique<CDrawTool>(Host())),
      m_selectTool(std::make_unique<CSelectTool>(Host()))
{
    // Moves matter while a drag is open even when no button is held (a release outside the
    // canvas leaves the drag open).
    setMouseTracking(true);
    connect(&m_settings, &CEditorSettings::toolChanged, this, &CKarveloView::OnToolChanged);
    connect(&m_settings, &CEditorSettings::gridChanged, this, qOverload<>(&QWidget::update));
    connect(&m_settings, &CEditorSettings::namesChanged, this, qOverload<>(&QWidget::update));
    m_activeTool = &Tool();
    m_horizontal = new QScrollBar(Qt::Horizontal, this);
    m_vertical = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_horizontal, m_vertical}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
    }
    connect(m_horizontal, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_scrolling)
            Pan(-value - m_mapping.originX, 0);
    });
    connect(m_vertical, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_scrolling)
            Pan(0, -value - m_mapping.originY);
    });
}

CKarveloView::~CKarveloView()
{
    if (CKarveloDoc* doc = GetDocument())
        doc->ReleaseView(doc->m_canvas, this);
}

CKarveloDoc* CKarveloView::GetDocument() const
{
    return static_cast<CKarveloDoc*>(fw::View::GetDocument());
}

CCanvasTool& CKarveloView::Tool() const
{
    return m_settings.CurrentTool() == CEditorSettings::SelectTool ? *m_selectTool : *m_drawTool;
}

fw::MdiFrame* CKarveloView::Frame() const
{
    return qobject_cast<fw::MdiFrame*>(window());
}

void CKarveloView::OnToolChanged()
{
    m_activeTool->Deactivate();
    m_activeTool = &Tool();
    m_activeTool->Activate();
    update();
}

void CKarveloView::OnInitialUpdate()
{
    fw::View::OnInitialUpdate();
    if (CKarveloDoc* doc = GetDocument())
        doc->m_canvas = this;
}

void CKarveloView::OnUpdate(fw::View*, const fw::Hint* hint)
{
    const auto* change = dynamic_cast<const CLayoutHint*>(hint);
    const CKarveloDoc* doc = GetDocument();
    if (change && doc) {
        // A few records moved or changed, and nothing else: where they were and are.
        std::optional<QRegion> touched;
        if (!(change->flags & (CLayoutHint::SELECTION | CLayoutHint::CURRENT)))
            touched = m_picture.Touched(*change, doc->m_layout.m_controls);
        m_picture.Changed(*change);
        m_hits.Changed(*change, doc->m_layout.m_controls);
        m_activeTool->DocumentChanged(*change);
        if (touched) {
            UpdateRegion(*touched);
            return;
        }
    } else {
        m_picture.Invalidate();
        m_hits.Invalidate();
    }
    CCanvasAccessible::Changed(this, change);
    update();
}

const std::vector<double>& CKarveloView::ZoomLevels()
{
    static const std::vector<double> levels = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 1.0, 1.5,
                                               2.0,  3.0,     4.0, 8.0,     16.0};
    return levels;
}

void CKarveloView::SetZoom(double zoom, QPointF device)
{
    zoom = std::clamp(zoom, ZoomLevels().front(), ZoomLevels().back());
    if (zoom == m_mapping.zoom)
        return;
    if (device.x() < 0)
        device = QPointF(width(), height()) * devicePixelRatioF() / 2;
    // The layout point under the pointer stays under it.
    const double x = m_mapping.LayoutX(device.x()) + CANVAS_MARGIN;
    const double y = m_mapping.LayoutY(device.y()) + CANVAS_MARGIN;
    m_mapping.zoom = zoom;
    m_mapping.originX = static_cast<int>(std::lround(device.x() - x * zoom));
    m_mapping.originY = static_cast<int>(std::lround(device.y() - y * zoom));
    update();
    UpdateScrollBars();
    emit zoomChanged(zoom);
}

void CKarveloView::ResetView()
{
    const bool zoomed = m_mapping.zoom != 1.0;
    m_mapping = CanvasMapping();
    update();
    UpdateScrollBars();
    if (zoomed)
        emit zoomChanged(1.0);
}

void CKarveloView::StepZoom(int steps, QPointF device)
{
    const std::vector<double>& levels = ZoomLevels();
    // The level at or next to the zoom now, then the steps from there.
    auto at = std::lower_bound(levels.begin(), levels.end(), m_mapping.zoom - 1e-9);
    auto index = static_cast<int>(at - levels.begin());
    if (steps < 0 && (at == levels.end() || *at > m_mapping.zoom + 1e-9))
        ++steps; // between two levels, a step down lands on the lower one
    index = std::clamp(index + steps, 0, static_cast<int>(levels.size()) - 1);
    SetZoom(levels[static_cast<std::size_t>(index)], device);
}

void CKarveloView::Pan(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    m_mapping.originX += dx;
    m_mapping.originY += dy;
    update();
    UpdateScrollBars();
}

void CKarveloView::resizeEvent(QResizeEvent* event)
{
    fw::View::resizeEvent(event);
    UpdateScrollBars();
}

void CKarveloView::UpdateScrollBars()
{
    // In device pixels: the screen with its margins, and the part of the canvas in view. At
    // 100 % the canvas shows the plain picture, without bars, whatever the pane's size.
    const qreal ratio = devicePixelRatioF();
    const QSize view = (QSizeF(size()) * ratio).toSize();
    const double contentWidth = (SCREEN_WIDTH + 2 * CANVAS_MARGIN) * m_mapping.zoom;
    const double contentHeight = (SCREEN_HEIGHT + 2 * CANVAS_MARGIN) * m_mapping.zoom;
    const bool zoomed = m_mapping.zoom != 1.0;
    const bool wide =
        zoomed && (m_mapping.originX < 0 || m_mapping.originX + contentWidth > view.width());
    const bool tall =
        zoomed && (m_mapping.originY < 0 || m_mapping.originY + contentHeight > view.height());
    const int thickness = m_vertical->sizeHint().width();
    m_scrolling = true;
    auto place = [](QScrollBar* bar, bool shown, double content, int origin, int page) {
        bar->setVisible(shown);
        if (!shown)
            return;
        const int value = -origin;
        bar->setRange(std::min(0, value),
                      std::max(static_cast<int>(std::ceil(content)) - page, value));
        bar->setPageStep(page);
        bar->setSingleStep(40);
        bar->setValue(value);
    };
    place(m_horizontal, wide, contentWidth, m_mapping.originX, view.width());
    place(m_vertical, tall, contentHeight, m_mapping.originY, view.height());
    m_horizontal->setGeometry(0, height() - thickness, width() - (tall ? thickness : 0), thickness);
    m_vertical->setGeometry(width() - thickness, 0, thickness, height() - (wide ? thickness : 0));
    m_scrolling = false;
}

QPoint CKarveloView::DevicePoint(const QMouseEvent* event) const
{
    return (event->position() * devicePixelRatioF()).toPoint();
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
    return QSize(SCREEN_WIDTH + 2 * CANVAS_MARGIN, SCREEN_HEIGHT + 2 * CANVAS_MARGIN);
}

bool CKarveloView::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CKarveloView> table = {
        {fw::ID_FILE_PRINT, &CKarveloView::OnFilePrint},
        {fw::ID_FILE_PRINT_DIRECT, &CKarveloView::OnFilePrintDirect},
        {fw::ID_FILE_PRINT_PREVIEW, &CKarveloView::OnFilePrintPreview},
    };
    return m_activeTool->OnCmdMsg(id, state) || table.Dispatch(this, id, state) ||
           fw::View::OnCmdMsg(id, state);
}

void CKarveloView::OverlayChanged()
{
    UpdateRegion(QRegion());
}

void CKarveloView::UpdateRegion(const QRegion& region)
{
    if (devicePixelRatioF() != 1.0) {
        update();
        return;
    }
    update(region + m_activeTool->OverlayDamage());
}

void CKarveloView::paintEvent(QPaintEvent* event)
{
    // Drawn in device pixels, so that at 100 % one layout pixel is one pixel of the screen
    // whatever its scale.
    const qreal ratio = devicePixelRatioF();
    CCanvasPicture::Frame frame;
    frame.size = (QSizeF(size()) * ratio).toSize();
    frame.mapping = m_mapping;
    frame.background = palette().color(QPalette::Base).rgb();
    frame.grid = m_settings.ActiveGrid();
    frame.names = m_settings.NamesShown();
    // Widget and device pixels are one on an unscaled screen: there a paint may be partial.
    const QRegion area =
        ratio == 1.0 && event->region() != QRegion(rect()) ? event->region() : QRegion();
    QImage blank;
    QImage* image = &blank;
    if (const CKarveloDoc* doc = GetDocument()) {
        image = &m_picture.Paint(doc->m_layout.m_controls, doc->Selection(), frame, area);
        QPainter painter(image);
        if (!m_picture.LastPaintWhole())
            painter.setClipRegion(area);
        m_activeTool->PaintOverlay(painter);
        for (const QRect& painted : m_picture.LastPaintWhole() ? QRegion(image->rect()) : area)
            m_paintedPixels += static_cast<std::int64_t>(painted.width()) * painted.height();
    } else {
        blank = QImage(frame.size, QImage::Format_RGB32);
        blank.fill(frame.background);
    }
    image->setDevicePixelRatio(ratio);
    QPainter(this).drawImage(0, 0, *image);
    // For measurements in a real window: each paint's time, in milliseconds of the monotonic
    // clock, on standard error.
    static const bool logPaints = qEnvironmentVariableIsSet("KARVELO_PAINT_LOG");
    if (logPaints)
        std::fprintf(stderr, "canvas painted %lld\n",
                     static_cast<long long>(QDeadlineTimer::current().deadline()));
    // For start-up measurements: the program ends once a canvas has been painted.
    static const bool exitAfterPaint = qEnvironmentVariableIsSet("KARVELO_EXIT_AFTER_FIRST_PAINT");
    if (exitAfterPaint)
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void CKarveloView::mousePressEvent(QMouseEvent* event)
{
    fw::View::mousePressEvent(event);
    if (CKarveloDoc* doc = GetDocument())
        doc->Model().NewGesture();
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld)) {
        m_panning = true;
        m_panFrom = DevicePoint(event);
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    m_activeTool->MousePress(event);
}

void CKarveloView::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_activeTool->MouseDoubleClick(event);
}

void CKarveloView::mouseMoveEvent(QMouseEvent* event)
{
    fw::View::mouseMoveEvent(event);
    if (m_panning) {
        const QPoint at = DevicePoint(event);
        Pan(at.x() - m_panFrom.x(), at.y() - m_panFrom.y());
        m_panFrom = at;
        return;
    }
    m_activeTool->MouseMove(event);
}

void CKarveloView::mouseReleaseEvent(QMouseEvent* event)
{
    fw::View::mouseReleaseEvent(event);
    if (m_panning) {
        if (!(event->buttons() & (Qt::MiddleButton | Qt::LeftButton))) {
            m_panning = false;
            unsetCursor();
        }
        return;
    }
    m_activeTool->MouseRelease(event);
}

void CKarveloView::wheelEvent(QWheelEvent* event)
{
    const QPointF device = event->position() * devicePixelRatioF();
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (angle.y() != 0)
            StepZoom(angle.y() > 0 ? 1 : -1, device);
        event->accept();
        return;
    }
    // A notch pans by 40 device pixels; Shift turns the wheel sideways.
    QPoint step =
        event->pixelDelta().isNull() ? angle * 40 / 120 : event->pixelDelta() * devicePixelRatioF();
    if (event->modifiers() & Qt::ShiftModifier)
        step = QPoint(step.y() != 0 ? step.y() : step.x(), 0);
    Pan(step.x(), step.y());
    event->accept();
}

bool CKarveloView::ZoomKey(QKeyEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_0:
        ResetView();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        StepZoom(1);
        return true;
    case Qt::Key_Minus:
        StepZoom(-1);
        return true;
    default:
        return false;
    }
}

void CKarveloView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceHeld = false;
    m_activeTool->KeyRelease(event);
    fw::View::keyReleaseEvent(event);
}

void CKarveloView::focusOutEvent(QFocusEvent* event)
{
    m_spaceHeld = false;
    m_activeTool->FocusLost();
    fw::View::focusOutEvent(event);
}

bool CKarveloView::focusNextPrevChild(bool next)
{
    if (m_settings.CurrentTool() == CEditorSettings::SelectTool && GetDocument())
        return false;
    return fw::View::focusNextPrevChild(next);
}

void CKarveloView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        m_spaceHeld = true;
        return;
    }
    if (ZoomKey(event))
        return;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_G) {
        m_settings.SetGrid(!m_settings.GridOn());
        return;
    }
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_N) {
        m_settings.ShowNames(!m_settings.NamesShown());
        return;
    }
    if (modifiers == Qt::NoModifier && (event->key() == Qt::Key_R || event->key() == Qt::Key_S)) {
        m_settings.SetTool(event->key() == Qt::Key_S ? CEditorSettings::SelectTool
                                                     : CEditorSettings::DrawTool);
        return;
    }
    if (m_activeTool->KeyPress(event))
        return;
    fw::View::keyPressEvent(event);
}
