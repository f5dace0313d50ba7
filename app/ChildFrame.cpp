#include "ChildFrame.h"

#include "KarveloView.h"
#include "KarveloView_Controls.h"

#include <QSplitter>

CChildFrame::CChildFrame() = default;

bool CChildFrame::OnCreateClient(fw::CreateContext& context)
{
    // One row, two columns; both panes are views of the one document.
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setChildrenCollapsible(false);
    auto* panel = new CKarveloView_Controls;
    auto* canvas = new CKarveloView;
    m_splitter->addWidget(panel);
    m_splitter->addWidget(canvas);
    if (!CreateView(panel, context) || !CreateView(canvas, context)) {
        delete m_splitter;
        m_splitter = nullptr;
        return false;
    }
    // The panel keeps its width; every further pixel goes to the canvas.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({PANEL_WIDTH, canvas->sizeHint().width()});
    setWidget(m_splitter);
    return true;
}
