#include "MdiChild.h"

#include "Application.h"
#include "CommandIds.h"
#include "Document.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "View.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QStyle>

#include <algorithm>

namespace fw {

MdiChild::MdiChild()
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    SetSystemMenuPrompts();
}

void MdiChild::SetSystemMenuPrompts()
{
    QMenu* menu = systemMenu();
    if (!menu)
        return;
    // The items are known by the texts Qt gives them.
    const std::pair<const char*, unsigned> prompts[] = {
        {"&Restore", AFX_IDS_SCRESTORE},   {"&Move", AFX_IDS_SCMOVE},
        {"&Size", AFX_IDS_SCSIZE},         {"Mi&nimize", AFX_IDS_SCMINIMIZE},
        {"Ma&ximize", AFX_IDS_SCMAXIMIZE}, {"&Close", AFX_IDS_SCCLOSE},
    };
    for (QAction* action : menu->actions())
        for (const auto& [text, id] : prompts)
            if (action->text() == QCoreApplication::translate("QMdiSubWindow", text))
                action->setStatusTip(PromptOf(LoadString(id)));
    // The menu is a window of its own: its prompts go to the main window's message pane.
    menu->installEventFilter(this);
}

bool MdiChild::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::StatusTip && watched == systemMenu()) {
        if (MdiFrame* main = App() ? App()->MainFrame() : nullptr)
            QCoreApplication::sendEvent(main, event);
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

MdiChild::~MdiChild()
{
    // The views go first, so the document and the remaining windows see this one gone.
    QPointer<Document> document = m_document;
    for (const QPointer<View>& view : m_views)
        delete view.data();
    if (document)
        for (MdiChild* frame : document->GetFrames())
            frame->UpdateTitle();
}

bool MdiChild::OnCreateClient(CreateContext& context)
{
    if (!context.makeView)
        return false;
    View* view = CreateView(context.makeView(), context);
    if (!view)
        return false;
    setWidget(view);
    return true;
}

View* MdiChild::CreateView(View* view, CreateContext& context)
{
    if (!view)
        return nullptr;
    view->AttachDocument(context.document);
    m_views.emplace_back(view);
    if (m_document != context.document) {
        m_document = context.document;
        connect(m_document, &Document::titleChanged, this, &MdiChild::UpdateTitle);
        connect(m_document, &Document::modifiedChanged, this, &MdiChild::UpdateTitle);
    }
    return view;
}

void MdiChild::InitialUpdateFrame()
{
    for (const QPointer<View>& view : m_views)
        if (view)
            view->OnInitialUpdate();
    if (m_document)
        for (MdiChild* frame : m_document->GetFrames())
            frame->UpdateTitle();
    MdiFrame* main = App() ? App()->MainFrame() : nullptr;
    // As big as the panes would like, within the main window where it is showing.
    QSize size = sizeHint();
    if (widget()) {
        const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        size = widget()->sizeHint() + QSize(2 * frame, title + 2 * frame);
    }
    if (main && main->MdiArea()->isVisible())
        size = size.boundedTo(main->MdiArea()->viewport()->size());
    resize(size);
    if (main) {
        // Cascaded from the top left corner, like the platform's default window places; placed
        // before it shows, since a window that shows beside a maximised one is maximised too,
        // and a move then would shift it off the area.
        const auto index = static_cast<int>(main->MdiArea()->subWindowList().size()) - 1;
        const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        move(QPoint(step, step) * (std::max(index, 0) % 8));
    }
    show();
    if (main)
        main->MdiArea()->setActiveSubWindow(this);
    // A new window starts with its first pane active.
    if (!m_views.empty() && m_views.front())
        SetActiveView(m_views.front());
}

void MdiChild::SetActiveView(View* view, bool giveFocus)
{
    m_activeView = view;
    if (view && giveFocus)
        view->TakeFocus();
    if (MdiFrame* main = App() ? App()->MainFrame() : nullptr)
        main->ScheduleCommandUI();
}

Document* MdiChild::GetActiveDocument() const
{
    if (m_activeView && m_activeView->GetDocument())
        return m_activeView->GetDocument();
    return m_document;
}

void MdiChild::OnFocusChanged(QWidget* now)
{
    for (QWidget* w = now; w; w = w->parentWidget()) {
        if (w == this)
            return;
        for (const QPointer<View>& view : m_views) {
            if (view == w) {
                if (m_activeView != view)
                    SetActiveView(view, false);
                return;
            }
        }
    }
}

void MdiChild::MovePane(int step)
{
    std::vector<View*> views;
    for (const QPointer<View>& view : m_views)
        if (view)
            views.push_back(view);
    if (views.empty())
        return;
    const auto at = std::find(views.begin(), views.end(), m_activeView.data());
    const auto count = static_cast<std::ptrdiff_t>(views.size());
    const std::ptrdiff_t index =
        at == views.end() ? 0 : (at - views.begin() + step + count) % count;
    SetActiveView(views[static_cast<std::size_t>(index)]);
}

void MdiChild::OnNextPane()
{
    MovePane(1);
}

void MdiChild::OnPrevPane()
{
    MovePane(-1);
}

void MdiChild::UpdateTitle()
{
    if (!m_document)
        return;
    const std::vector<MdiChild*> frames = m_document->GetFrames();
    QString title = m_document->GetTitle();
    if (frames.size() > 1) {
        const auto at = std::find(frames.begin(), frames.end(), this);
        title += QLatin1Char(':') + QString::number(at - frames.begin() + 1);
    }
    setWindowTitle(title + QLatin1String("[*]"));
    setWindowModified(m_document->IsModified());
    MdiFrame* main = App() ? App()->MainFrame() : nullptr;
    if (main && main->ActiveChild() == this)
        main->UpdateFrameTitle();
}

void MdiChild::CloseWithoutAsking()
{
    m_closingWithoutAsking = true;
    close();
}

void MdiChild::closeEvent(QCloseEvent* event)
{
    if (!m_closingWithoutAsking && m_document && m_document->GetFrames().size() == 1) {
        // The last window of a document: closing it closes the document.
        if (!m_document->SaveModified()) {
            event->ignore();
            return;
        }
        m_closingWithoutAsking = true;
        QMdiSubWindow::closeEvent(event);
        m_document->OnCloseDocument();
        return;
    }
    m_closingWithoutAsking = true;
    QMdiSubWindow::closeEvent(event);
}

bool MdiChild::OnCmdMsg(CommandId id, CommandState* state)
{
    static const CommandTable<MdiChild> table = {
        {ID_NEXT_PANE, &MdiChild::OnNextPane},
        {ID_PREV_PANE, &MdiChild::OnPrevPane},
    };
    return table.Dispatch(this, id, state);
}

} // namespace fw
