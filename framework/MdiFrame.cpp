#include "MdiFrame.h"

#include "Application.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "Document.h"
#include "MdiChild.h"
#include "Strings.h"
#include "View.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace fw {

namespace {
constexpr int MAX_WINDOWS_LISTED = 9;
const char* const NO_TOOLTIP = "fwNoTooltip";
// The string table's tooltip, shown whenever the command gives none of its own.
const char* const DEFAULT_TOOLTIP = "fwDefaultTooltip";
// Marks the actions a menu gets each time it opens, so the next opening replaces them.
const char* const RECENT_FILE = "fwRecentFile";
const char* const WINDOW_ENTRY = "fwWindowEntry";
} // namespace

MdiFrame::MdiFrame() : m_mdiArea(new QMdiArea(this))
{
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MdiFrame::OnChildActivated);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &MdiFrame::ScheduleCommandUI);
    qApp->installEventFilter(this);
}

MdiFrame::~MdiFrame()
{
    qApp->removeEventFilter(this);
    // The children go after this destructor: nothing of theirs may call back into it.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        disconnect(window, nullptr, this, nullptr);
}

bool MdiFrame::LoadFrame(unsigned resourceId, const Resources& resources)
{
    m_resources = &resources;
    m_resourceId = resourceId;
    if (!resources.menus.count(resourceId))
        return false;
    const auto accelerators = resources.accelerators.find(resourceId);
    if (accelerators != resources.accelerators.end()) {
        std::map<CommandId, QList<QKeySequence>> keys;
        for (const Accelerator& accelerator : accelerators->second)
            keys[accelerator.id].append(accelerator.keys);
        for (const auto& [id, sequences] : keys) {
            QAction* action = Action(id);
            action->setShortcuts(sequences);
            addAction(action); // keys work in every window of the frame
        }
    }
    ShowMenu(resourceId);
    UpdateFrameTitle();
    if (OnCreate() == -1)
        return false;
    UpdateCommandUI();
    return true;
}

QAction* MdiFrame::Action(CommandId id)
{
    auto found = m_actions.find(id);
    if (found != m_actions.end())
        return found->second;
    auto* action = new QAction(this);
    action->setData(id);
    const QString entry = LoadString(id);
    action->setStatusTip(PromptOf(entry));
    // Qt would make a tooltip of the text; an entry without one must show none.
    const QString tooltip = TooltipOf(entry);
    action->setToolTip(tooltip);
    action->setProperty(DEFAULT_TOOLTIP, tooltip);
    action->setProperty(NO_TOOLTIP, tooltip.isEmpty());
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    m_actions.emplace(id, action);
    return action;
}

MdiChild* MdiFrame::ActiveChild() const
{
    return qobject_cast<MdiChild*>(m_mdiArea->activeSubWindow());
}

void MdiFrame::AddChild(MdiChild* child)
{
    m_mdiArea->addSubWindow(child);
    connect(child, &QWidget::windowTitleChanged, this, &MdiFrame::UpdateFrameTitle);
}

bool MdiFrame::RouteCommand(CommandId id, CommandState* state)
{
    if (OnCmdMsg(id, state))
        return true;
    MdiChild* child = ActiveChild();
    View* view = child ? child->GetActiveView() : nullptr;
    if (child && child->OnCmdMsg(id, state))
        return true;
    if (view && view->OnCmdMsg(id, state))
        return true;
    Document* document = child ? child->GetActiveDocument() : nullptr;
    if (document && document->OnCmdMsg(id, state))
        return true;
    return App() && App()->OnCmdMsg(id, state);
}

void MdiFrame::ExecuteCommand(CommandId id)
{
    CommandState state;
    if (!RouteCommand(id, &state) || !state.enabled)
        return;
    if (!m_notice.isEmpty() && statusBar()->currentMessage() == m_notice)
        statusBar()->clearMessage();
    m_notice.clear();
    RouteCommand(id, nullptr);
    ScheduleCommandUI();
}

void MdiFrame::ShowNotice(const QString& text)
{
    m_notice = text;
    statusBar()->showMessage(text, NOTICE_MILLISECONDS);
}

void MdiFrame::UpdateCommandUI()
{
    m_updatePending = false;
    for (const auto& [id, action] : m_actions) {
        CommandState state;
        const bool handled = RouteCommand(id, &state);
        action->setEnabled(handled && state.enabled);
        const QString tooltip =
            state.tooltip.isEmpty() ? action->property(DEFAULT_TOOLTIP).toString() : state.tooltip;
        if (action->toolTip() != tooltip)
            action->setToolTip(tooltip);
        if (state.checkable) {
            action->setCheckable(true);
            action->setChecked(state.checked);
        }
    }
    UpdateIndicators();
}

void MdiFrame::ScheduleCommandUI()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(this, &MdiFrame::UpdateCommandUI, Qt::QueuedConnection);
}

bool MdiFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        ScheduleCommandUI();
        break;
    case QEvent::ToolTip:
        // A button whose command text has no tooltip part shows none.
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            if (button->defaultAction() && button->defaultAction()->property(NO_TOOLTIP).toBool()) {
                event->ignore();
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

QMenu* MdiFrame::MenuBarPopup(int index) const
{
    const QList<QAction*> popups = menuBar()->actions();
    return index >= 0 && index < popups.size() ? popups[index]->menu() : nullptr;
}

void MdiFrame::ShowMenu(unsigned menuId)
{
    const auto found =
        m_resources ? m_resources->menus.find(menuId) : decltype(m_resources->menus.end()){};
    if (!m_resources || found == m_resources->menus.end() || menuId == m_currentMenu)
        return;
    m_currentMenu = menuId;
    // The old popups go once the event that switched the menus is over: one of their actions
    // may be what is running now.
    for (QAction* popup : menuBar()->actions())
        if (QMenu* menu = popup->menu())
            menu->deleteLater();
    menuBar()->clear();
    for (const MenuItem& popup : found->second) {
        QMenu* menu = menuBar()->addMenu(popup.text);
        FillMenu(menu, popup.items);
        if (popup.windowList)
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
    }
}

void MdiFrame::FillMenu(QMenu* menu, const std::vector<MenuItem>& items)
{
    connect(menu, &QMenu::aboutToShow, this, &MdiFrame::UpdateCommandUI);
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Separator) {
            menu->addSeparator();
        } else if (item.kind == MenuItem::Popup) {
            FillMenu(menu->addMenu(item.text), item.items);
        } else if (item.id == ID_FILE_MRU_FILE1) {
            // The placeholder stands where the recent files go and shows while there are none.
            QAction* placeholder = menu->addAction(item.text);
            placeholder->setEnabled(false);
            placeholder->setStatusTip(PromptOf(LoadString(item.id)));
            connect(menu, &QMenu::aboutToShow, this,
                    [this, menu, placeholder] { FillRecentFiles(menu, placeholder); });
        } else {
            QAction* action = Action(item.id);
            action->setText(item.text);
            if (item.disabled) {
                QAction* fixed = menu->addAction(item.text);
                fixed->setEnabled(false);
            } else {
                menu->addAction(action);
            }
        }
    }
}

void MdiFrame::RemoveGeneratedActions(QMenu* menu, const char* tag)
{
    // Deleting an action takes it out of the menu; nothing else holds it.
    for (QAction* action : menu->actions())
        if (action->property(tag).toBool())
            delete action;
}

void MdiFrame::FillRecentFiles(QMenu* menu, QAction* placeholder)
{
    RemoveGeneratedActions(menu, RECENT_FILE);
    const QStringList entries = App() ? App()->RecentFileMenuTexts() : QStringList();
    placeholder->setVisible(entries.isEmpty());
    for (int i = 0; i < entries.size(); ++i) {
        const CommandId id = ID_FILE_MRU_FILE1 + static_cast<CommandId>(i);
        auto* action = new QAction(entries[i], menu);
        action->setProperty(RECENT_FILE, true);
        action->setStatusTip(PromptOf(LoadString(id)));
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        menu->insertAction(placeholder, action);
    }
}

void MdiFrame::FillWindowList(QMenu* menu)
{
    RemoveGeneratedActions(menu, WINDOW_ENTRY);
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    menu->addSeparator()->setProperty(WINDOW_ENTRY, true);
    const QString prompt = PromptOf(LoadString(AFX_IDS_MDICHILD));
    for (int i = 0; i < windows.size() && i < MAX_WINDOWS_LISTED; ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace(QLatin1String("[*]"),
                      window->isWindowModified() ? QLatin1String("*") : QString());
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action =
            menu->addAction(QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + title);
        action->setProperty(WINDOW_ENTRY, true);
        action->setStatusTip(prompt);
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->activeSubWindow());
        QPointer<QMdiSubWindow> target = window;
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                m_mdiArea->setActiveSubWindow(target);
        });
    }
}

void MdiFrame::OnChildActivated()
{
    MdiChild* child = ActiveChild();
    ShowMenu(child && child->GetDocTemplate() ? child->GetDocTemplate()->ResourceId()
                                              : m_resourceId);
    UpdateFrameTitle();
    ScheduleCommandUI();
}

void MdiFrame::UpdateFrameTitle()
{
    QString title = LoadString(m_resourceId);
    // The document's title: the window number of a second window is the child's business.
    if (MdiChild* child = ActiveChild(); child && child->GetActiveDocument()) {
        const Document* document = child->GetActiveDocument();
        title += QLatin1String(" - ") + document->GetTitle();
        if (document->IsModified())
            title += QLatin1Char('*');
    }
    setWindowTitle(title);
}

QToolBar* MdiFrame::LoadToolBar(unsigned resourceId, CommandId barId)
{
    const auto found = m_resources ? m_resources->toolbars.find(resourceId)
                                   : decltype(m_resources->toolbars.end()){};
    if (!m_resources || found == m_resources->toolbars.end())
        return nullptr;
    const ToolbarDefinition& definition = found->second;
    const QPixmap strip = definition.bitmap ? definition.bitmap() : QPixmap();
    if (strip.isNull())
        return nullptr;
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("toolbar%1").arg(resourceId));
    bar->setIconSize(QSize(definition.imageWidth, definition.imageHeight));
    int image = 0;
    for (CommandId id : definition.buttons) {
        if (id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        action->setIcon(QIcon(strip.copy(image * definition.imageWidth, 0, definition.imageWidth,
                                         definition.imageHeight)));
        ++image;
        bar->addAction(action);
    }
    for (QToolButton* button : bar->findChildren<QToolButton*>())
        button->installEventFilter(this);
    addToolBar(Qt::TopToolBarArea, bar);
    m_bars[barId] = bar;
    return bar;
}

bool MdiFrame::CreateStatusBar(const std::vector<CommandId>& indicators)
{
    QStatusBar* bar = statusBar();
    const QString idle = LoadString(AFX_IDS_IDLEMESSAGE);
    connect(bar, &QStatusBar::messageChanged, this, [bar, idle](const QString& text) {
        if (text.isEmpty() && !idle.isEmpty())
            bar->showMessage(idle);
    });
    bar->showMessage(idle);
    for (CommandId id : indicators) {
        if (id == ID_SEPARATOR)
            continue;
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(LoadString(id)) + 8);
        bar->addPermanentWidget(label);
        m_indicators[id] = label;
    }
    m_bars[ID_VIEW_STATUS_BAR] = bar;
    UpdateIndicators();
    return true;
}

void MdiFrame::UpdateIndicators()
{
    for (const auto& [id, label] : m_indicators)
        label->setText(IndicatorOn(id) ? LoadString(id) : QString());
}

void MdiFrame::closeEvent(QCloseEvent* event)
{
    if (App() && !App()->SaveAllModified()) {
        event->ignore();
        return;
    }
    if (App())
        App()->CloseAllDocuments();
    QMainWindow::closeEvent(event);
}

void MdiFrame::OnWindowNew()
{
    MdiChild* child = ActiveChild();
    Document* document = child ? child->GetActiveDocument() : nullptr;
    if (!document || !document->GetDocTemplate())
        return;
    if (MdiChild* frame = document->GetDocTemplate()->CreateNewFrame(document))
        frame->InitialUpdateFrame();
}

void MdiFrame::OnWindowCascade()
{
    m_mdiArea->cascadeSubWindows();
}

void MdiFrame::OnWindowTile()
{
    m_mdiArea->tileSubWindows();
}

void MdiFrame::OnWindowArrange()
{
    // Lines the minimised windows up along the bottom edge.
    int x = 0;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        window->move(x, m_mdiArea->viewport()->height() - window->height());
        x += window->width();
    }
}

void MdiFrame::OnViewBar(CommandId barId)
{
    if (QWidget* bar = m_bars[barId])
        bar->setVisible(!bar->isVisible());
}

void MdiFrame::OnUpdateNeedsChild(CommandState& state)
{
    state.Enable(ActiveChild() != nullptr);
}

void MdiFrame::OnUpdateViewToolbar(CommandState& state)
{
    QWidget* bar = m_bars[ID_VIEW_TOOLBAR];
    state.Enable(bar != nullptr);
    state.SetCheck(bar && !bar->isHidden());
}

void MdiFrame::OnUpdateViewStatusBar(CommandState& state)
{
    QWidget* bar = m_bars[ID_VIEW_STATUS_BAR];
    state.Enable(bar != nullptr);
    state.SetCheck(bar && !bar->isHidden());
}

bool MdiFrame::OnCmdMsg(CommandId id, CommandState* state)
{
    static const CommandTable<MdiFrame> table = {
        {ID_WINDOW_NEW, &MdiFrame::OnWindowNew, &MdiFrame::OnUpdateNeedsChild},
        {ID_WINDOW_CASCADE, &MdiFrame::OnWindowCascade, &MdiFrame::OnUpdateNeedsChild},
        {ID_WINDOW_TILE_HORZ, &MdiFrame::OnWindowTile, &MdiFrame::OnUpdateNeedsChild},
        {ID_WINDOW_ARRANGE, &MdiFrame::OnWindowArrange, &MdiFrame::OnUpdateNeedsChild},
        {ID_VIEW_TOOLBAR, &MdiFrame::OnViewToolbar, &MdiFrame::OnUpdateViewToolbar},
        {ID_VIEW_STATUS_BAR, &MdiFrame::OnViewStatusBar, &MdiFrame::OnUpdateViewStatusBar},
    };
    return table.Dispatch(this, id, state);
}

} // namespace fw
