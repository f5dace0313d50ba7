#include "shell/ChildFrame.h"

#include "shell/FocusCycle.h"
#include "views/KarveloView.h"
#include "views/KarveloView_Controls.h"

#include <QScrollArea>
#include <QSplitter>

#include <algorithm>

namespace {

// The left pane keeps its width (170 pixels, or what the user dragged it to); the right one
// takes every further pixel, and a window narrower than the left pane gives it all.
class PaneSplitter : public QSplitter
{
public:
    PaneSplitter() : QSplitter(Qt::Horizontal)
    {
        connect(this, &QSplitter::splitterMoved, this, [this] { m_firstWidth = sizes().value(0); });
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QSplitter::resizeEvent(event);
        if (count() != 2)
            return;
        // Narrower than the left pane and the bar: the left pane takes everything, and the
        // bar goes with the right pane.
        const bool narrow = width() < m_firstWidth + handleWidth();
        widget(1)->setVisible(!narrow);
        if (narrow)
            return;
        const int total = width() - handleWidth();
        setSizes({m_firstWidth, total - m_firstWidth});
    }

private:
    int m_firstWidth = CChildFrame::PANEL_WIDTH;
};

} // namespace

CChildFrame::CChildFrame(CEditorSettings& settings) : m_settings(settings) {}

bool CChildFrame::OnCreateClient(fw::CreateContext& context)
{
    // One row, two columns; both panes are views of the one document.
    // The canvas comes from the template, which gives it the editor's settings.
    auto* canvas = context.makeView ? qobject_cast<CKarveloView*>(context.makeView()) : nullptr;
    if (!canvas)
        return false;
    m_splitter = new PaneSplitter;
    auto* panel = new CKarveloView_Controls(m_settings);
    m_splitter->addWidget(panel->WrapInScrollArea(panel->sizeHint().height()));
    m_splitter->addWidget(canvas);
    if (!CreateView(panel, context) || !CreateView(canvas, context)) {
        delete m_splitter;
        m_splitter = nullptr;
        return false;
    }
    m_splitter->setSizes({PANEL_WIDTH, canvas->sizeHint().width()});
    setWidget(m_splitter);
    m_focus = new CFocusCycle(*this, *panel, *canvas);
    return true;
}

bool CChildFrame::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    return (m_focus && m_focus->OnCmdMsg(id, state)) || fw::MdiChild::OnCmdMsg(id, state);
}
