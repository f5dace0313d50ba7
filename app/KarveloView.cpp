#include "KarveloView.h"

#include "KarveloDoc.h"
#include "LayoutPainter.h"
#include "resources/Resource.h"

#include <QPaintDevice>
#include <QPainter>

CKarveloView::CKarveloView() = default;

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
