#include "KarveloView.h"

#include "KarveloApp.h"
#include "KarveloDoc.h"
#include "LayoutPainter.h"
#include "resources/Resource.h"
#include "tools/DrawTool.h"
#include "tools/SelectTool.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

CKarveloView::CKarveloView()
    : m_drawTool(std::make_unique<CDrawTool>(this)),
      m_selectTool(std::make_unique<CSelectTool>(this))
{
    // Moves matter while a drag is open even when no button is held (a release outside the
    // canvas leaves the drag open).
    setMouseTracking(true);
    if (auto* app = qobject_cast<CKarveloApp*>(fw::App()))
        connect(app, &CKarveloApp::toolChanged, this, &CKarveloView::OnToolChanged);
    m_activeTool = &Tool();
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

CCanvasTool& CKarveloView::Tool() const
{
    const auto* app = qobject_cast<const CKarveloApp*>(fw::App());
    return app && app->CurrentTool() == CKarveloApp::SelectTool ? *m_selectTool : *m_drawTool;
}

void CKarveloView::OnToolChanged()
{
    m_activeTool->Deactivate();
    m_activeTool = &Tool();
    update();
}

void CKarveloView::OnInitialUpdate()
{
    fw::View::OnInitialUpdate();
    if (CKarveloDoc* doc = GetDocument())
        doc->m_canvas = this;
}

void CKarveloView::OnUpdate(fw::View*, const fw::Hint*)
{
    update();
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
    return m_activeTool->OnCmdMsg(id, state) || table.Dispatch(this, id, state) ||
           fw::View::OnCmdMsg(id, state);
}

void CKarveloView::paintEvent(QPaintEvent* event)
{
    fw::View::paintEvent(event);
    QPainter painter(this);
    m_activeTool->PaintOverlay(painter);
    // For start-up measurements: the program ends once a canvas has been painted.
    static const bool exitAfterPaint = qEnvironmentVariableIsSet("KARVELO_EXIT_AFTER_FIRST_PAINT");
    if (exitAfterPaint)
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void CKarveloView::mousePressEvent(QMouseEvent* event)
{
    fw::View::mousePressEvent(event);
    if (CKarveloDoc* doc = GetDocument())
        doc->NewGesture();
    m_activeTool->MousePress(event);
}

void CKarveloView::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_activeTool->MouseDoubleClick(event);
}

void CKarveloView::mouseMoveEvent(QMouseEvent* event)
{
    fw::View::mouseMoveEvent(event);
    m_activeTool->MouseMove(event);
}

void CKarveloView::mouseReleaseEvent(QMouseEvent* event)
{
    fw::View::mouseReleaseEvent(event);
    m_activeTool->MouseRelease(event);
}

void CKarveloView::keyPressEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        if (CKarveloDoc* doc = GetDocument())
            doc->NewGesture();
    auto* app = qobject_cast<CKarveloApp*>(fw::App());
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (app && modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_R || event->key() == Qt::Key_S)) {
        app->SetTool(event->key() == Qt::Key_S ? CKarveloApp::SelectTool : CKarveloApp::DrawTool);
        return;
    }
    if (m_activeTool->KeyPress(event))
        return;
    fw::View::keyPressEvent(event);
}
