#include "CanvasTool.h"

#include "KarveloView.h"

CKarveloDoc* CCanvasTool::Doc() const
{
    return m_canvas->GetDocument();
}
