// The main window: toolbar, status bar with the lock indicators, and the layout windows.
#pragma once

#include "MdiFrame.h"

#include <QPointer>

class CKarveloView;
class QComboBox;
class QDockWidget;
class QToolBar;
class QUndoGroup;

class CMainFrame : public fw::MdiFrame
{
    Q_OBJECT

public:
    CMainFrame();
    int OnCreate() override;
    QToolBar* ToolBar() const { return m_toolBar; }
    QToolBar* ToolsBar() const { return m_toolsBar; }
    QToolBar* ArrangeBar() const { return m_arrangeBar; }
    QDockWidget* History() const { return m_history; }
    QUndoGroup* UndoGroup() const { return m_undoGroup; }
    QComboBox* ZoomBox() const { return m_zoomBox; }

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

protected:
    bool IndicatorOn(fw::CommandId id) const override;

private:
    void FollowActiveDocument();
    void ShowZoom(double zoom);
    void ApplyZoomText();
    void OnViewHistory();
    void OnUpdateViewHistory(fw::CommandState& state);

    QToolBar* m_toolBar = nullptr;
    QToolBar* m_toolsBar = nullptr;
    QToolBar* m_arrangeBar = nullptr;
    QDockWidget* m_history = nullptr;
    QUndoGroup* m_undoGroup = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QPointer<CKarveloView> m_zoomedCanvas;
};
