#include "shell/MainFrame.h"

#include "Document.h"
#include "MdiChild.h"
#include "Strings.h"
#include "View.h"
#include "actions/Selection.h"
#include "document/KarveloDoc.h"
#include "resources/Resource.h"
#include "shell/SearchField.h"
#include "views/EditorSettings.h"
#include "views/KarveloView.h"
#include "views/KarveloView_Controls.h"

#include <QComboBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMdiArea>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoView>

#include <cmath>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#define KARVELO_X11_LOCKS 1
#include <X11/XKBlib.h>
#endif

CMainFrame::CMainFrame(CEditorSettings& settings) : m_settings(settings) {}

namespace {

// A flat bar with a grip, docking on any side or floating; titled when it is one of ours.
QToolBar* dockable(QToolBar* bar, unsigned title = 0)
{
    if (!bar)
        return nullptr;
    if (title)
        bar->setWindowTitle(fw::LoadString(title));
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    return bar;
}

// A screen reader names a button as its tooltip does (by its prompt where it has none).
void nameButtons(QToolBar* bar)
{
    for (QAction* action : bar->actions()) {
        QWidget* button = bar->widgetForAction(action);
        if (!button || action->isSeparator())
            continue;
        const QString entry = fw::LoadString(action->data().toUInt());
        const QString tooltip = fw::TooltipOf(entry);
        button->setAccessibleName(tooltip.isEmpty() ? fw::PromptOf(entry) : tooltip);
    }
}

// The history follows every step, shown or not; Qt's list would tell screen readers each
// time that its current row took the focus, wherever the focus is.
class HistoryView : public QUndoView
{
public:
    using QUndoView::QUndoView;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        if (hasFocus())
            QUndoView::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous);
    }
};

} // namespace

int CMainFrame::OnCreate()
{
    m_toolBar = dockable(LoadToolBar(resources::IDR_MAINFRAME, fw::ID_VIEW_TOOLBAR));
    if (!m_toolBar)
        return -1;
    if (!CreateStatusBar(
            {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM, fw::ID_INDICATOR_SCRL}))
        return -1;

    // Beside toolbar 1128 and docked to its right: the tools, undo and redo, the history; then
    // the arranging bar.
    m_toolsBar =
        dockable(LoadToolBar(resources::IDR_TOOLS, resources::IDR_TOOLS), resources::IDS_TOOLS_BAR);
    m_arrangeBar = dockable(LoadToolBar(resources::IDR_ARRANGE, resources::IDR_ARRANGE),
                            resources::IDS_ARRANGE_BAR);
    if (!m_toolsBar || !m_arrangeBar)
        return -1;
    for (QToolBar* bar : {m_toolBar, m_toolsBar, m_arrangeBar})
        nameButtons(bar);

    // The zoom of the active window, to read and to type.
    m_zoomBox = new QComboBox(m_toolsBar);
    m_zoomBox->setObjectName(QStringLiteral("zoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->setToolTip(fw::LoadString(resources::IDS_ZOOM_TIP));
    m_zoomBox->setAccessibleName(fw::LoadString(resources::IDS_ZOOM_NAME));
    for (double level : CKarveloView::ZoomLevels())
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(std::lround(level * 100)));
    m_zoomBox->setEnabled(false);
    m_toolsBar->addSeparator();
    m_toolsBar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::textActivated, this, &CMainFrame::ApplyZoomText);

    // Finding controls: Ctrl+F from any view of a layout window comes here.
    m_search = new CSearchField(m_settings, m_toolsBar);
    m_toolsBar->addSeparator();
    m_toolsBar->addWidget(m_search);
    connect(m_search, &CSearchField::selectMatching, this, &CMainFrame::SelectMatching);
    QAction* find = Action(resources::ID_EDIT_FIND);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(find);
    // The history has a key of its own, as in a browser.
    QAction* history = Action(resources::ID_VIEW_HISTORY);
    history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    addAction(history);

    m_undoGroup = new QUndoGroup(this);
    m_history = new QDockWidget(fw::LoadString(resources::IDS_HISTORY), this);
    m_history->setObjectName(QStringLiteral("history"));
    auto* view = new HistoryView(m_undoGroup, m_history);
    view->setEmptyLabel(fw::LoadString(resources::IDS_HISTORY_START));
    m_history->setWidget(view);
    addDockWidget(Qt::RightDockWidgetArea, m_history);
    m_history->hide();
    connect(MdiArea(), &QMdiArea::subWindowActivated, this, &CMainFrame::FollowActiveDocument);
    return 0;
}

void CMainFrame::FollowActiveDocument()
{
    fw::MdiChild* child = ActiveChild();
    fw::Document* document = child ? child->GetActiveDocument() : nullptr;
    QUndoStack* stack = document ? document->UndoStack() : nullptr;
    if (stack && !m_undoGroup->stacks().contains(stack))
        m_undoGroup->addStack(stack);
    m_undoGroup->setActiveStack(stack);

    if (m_zoomedCanvas)
        disconnect(m_zoomedCanvas, nullptr, this, nullptr);
    m_search->Follow(child ? child->findChild<CKarveloView_Controls*>() : nullptr);
    m_zoomedCanvas = child ? child->findChild<CKarveloView*>() : nullptr;
    m_zoomBox->setEnabled(m_zoomedCanvas != nullptr);
    if (m_zoomedCanvas) {
        connect(m_zoomedCanvas, &CKarveloView::zoomChanged, this, &CMainFrame::ShowZoom);
        ShowZoom(m_zoomedCanvas->Zoom());
    }
}

void CMainFrame::ShowZoom(double zoom)
{
    m_zoomBox->setEditText(QStringLiteral("%1 %").arg(std::lround(zoom * 100)));
}

void CMainFrame::ApplyZoomText()
{
    if (!m_zoomedCanvas)
        return;
    QString text = m_zoomBox->currentText();
    text.remove(QLatin1Char('%'));
    bool ok = false;
    const double percent = text.trimmed().toDouble(&ok);
    // The levels of the list stand for their exact fractions (33 % is a third).
    double zoom = percent / 100;
    for (double level : CKarveloView::ZoomLevels())
        if (std::lround(level * 100) == std::lround(percent))
            zoom = level;
    if (ok && percent > 0)
        m_zoomedCanvas->SetZoom(zoom);
    ShowZoom(m_zoomedCanvas->Zoom());
    m_zoomedCanvas->setFocus();
}

void CMainFrame::OnViewHistory()
{
    m_history->setVisible(!m_history->isVisible());
}

void CMainFrame::OnUpdateViewHistory(fw::CommandState& state)
{
    state.SetCheck(m_history && !m_history->isHidden());
}

void CMainFrame::OnEditFind()
{
    m_search->TakeFocus();
}

void CMainFrame::SelectMatching()
{
    fw::MdiChild* child = ActiveChild();
    auto* doc = child ? qobject_cast<CKarveloDoc*>(child->GetActiveDocument()) : nullptr;
    if (!doc || !m_settings.Query().IsValid())
        return;
    m_settings.SetTool(CEditorSettings::SelectTool);
    actions::SelectMatching(doc->Model(), m_settings.Query());
    if (auto* canvas = child->findChild<CKarveloView*>()) {
        child->SetActiveView(canvas);
        canvas->setFocus();
    }
}

bool CMainFrame::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CMainFrame> table = {
        {resources::ID_VIEW_HISTORY, &CMainFrame::OnViewHistory, &CMainFrame::OnUpdateViewHistory},
        {resources::ID_EDIT_FIND, &CMainFrame::OnEditFind},
    };
    return table.Dispatch(this, id, state) || fw::MdiFrame::OnCmdMsg(id, state);
}

bool CMainFrame::IndicatorOn(fw::CommandId id) const
{
#ifdef KARVELO_X11_LOCKS
    // The lock state lives in the window system; other platforms leave the panes empty.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return false;
    unsigned state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success)
        return false;
    const unsigned bit = id == fw::ID_INDICATOR_CAPS ? 1u : id == fw::ID_INDICATOR_NUM ? 2u : 4u;
    return (state & bit) != 0;
#else
    (void)id;
    return false;
#endif
}
