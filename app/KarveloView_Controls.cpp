#include "KarveloView_Controls.h"

#include "KarveloDoc.h"

CKarveloView_Controls::CKarveloView_Controls() = default;

CKarveloView_Controls::~CKarveloView_Controls()
{
    if (CKarveloDoc* doc = GetDocument())
        doc->ReleaseView(this);
}

CKarveloDoc* CKarveloView_Controls::GetDocument() const
{
    return static_cast<CKarveloDoc*>(fw::View::GetDocument());
}

void CKarveloView_Controls::OnInitialUpdate()
{
    fw::FormView::OnInitialUpdate();
    ShowCurrentControl();
    if (CKarveloDoc* doc = GetDocument())
        doc->m_panel = this;
}

void CKarveloView_Controls::ShowCurrentControl()
{
    FillControlList();
}

void CKarveloView_Controls::FillControlList() {}

QSize CKarveloView_Controls::sizeHint() const
{
    return QSize(170, 640);
}
