// The main window: the child windows, the menus, keys, toolbars and status bar, and the
// command route that decides what runs and what is enabled.
#pragma once

#include "CommandIds.h"
#include "Commands.h"
#include "Resources.h"

#include <QMainWindow>
#include <QPointer>

#include <map>

class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace fw {

class MdiChild;

class MdiFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    MdiFrame();
    ~MdiFrame() override;

    // Builds the frame from resource id (title string, menu, accelerators), then OnCreate.
    bool LoadFrame(unsigned resourceId, const Resources& resources);
    // The frame's own bars; -1 stops the creation.
    virtual int OnCreate() { return 0; }

    QMdiArea* MdiArea() const { return m_mdiArea; }
    MdiChild* ActiveChild() const;
    void AddChild(MdiChild* child);

    // Runs the command on the first target of the route that handles it, if it is enabled.
    void ExecuteCommand(CommandId id);
    // Asks the route; false when no target handles the command.
    bool RouteCommand(CommandId id, CommandState* state);
    void UpdateCommandUI();
    void ScheduleCommandUI();

    // A notice in the status bar about something that happened without the user's asking
    // (a file changed on disk): it goes after a few seconds, or with the next command.
    void ShowNotice(const QString& text);
    static constexpr int NOTICE_MILLISECONDS = 5000;

    QAction* Action(CommandId id);
    QMenu* MenuBarPopup(int index) const;
    unsigned CurrentMenuId() const { return m_currentMenu; }

    bool OnCmdMsg(CommandId id, CommandState* state) override;
    // "Title - active window's title".
    void UpdateFrameTitle();

protected:
    QToolBar* LoadToolBar(unsigned resourceId, CommandId barId);
    bool CreateStatusBar(const std::vector<CommandId>& indicators);
    // Whether an indicator of the status bar shows its text now.
    virtual bool IndicatorOn(CommandId) const { return false; }
    void UpdateIndicators();
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowMenu(unsigned menuId);
    void FillMenu(QMenu* menu, const std::vector<MenuItem>& items);
    static void RemoveGeneratedActions(QMenu* menu, const char* tag);
    void FillRecentFiles(QMenu* menu, QAction* placeholder);
    void FillWindowList(QMenu* menu);
    void OnChildActivated();

    void OnWindowNew();
    void OnWindowCascade();
    void OnWindowTile();
    void OnWindowArrange();
    void OnViewBar(CommandId barId);
    void OnViewToolbar() { OnViewBar(ID_VIEW_TOOLBAR); }
    void OnViewStatusBar() { OnViewBar(ID_VIEW_STATUS_BAR); }
    void OnUpdateNeedsChild(CommandState& state);
    void OnUpdateViewToolbar(CommandState& state);
    void OnUpdateViewStatusBar(CommandState& state);

    QMdiArea* m_mdiArea;
    const Resources* m_resources = nullptr;
    unsigned m_resourceId = 0;
    unsigned m_currentMenu = 0;
    std::map<CommandId, QAction*> m_actions;
    std::map<CommandId, QPointer<QWidget>> m_bars;
    std::map<CommandId, QLabel*> m_indicators;
    bool m_updatePending = false;
    QString m_notice;
};

} // namespace fw
