// The main window: toolbar, status bar with the lock indicators, and the layout windows.
#pragma once

#include "MdiFrame.h"

#include <QPointer>

class CEditorSettings;
class CKarveloView;
class CSearchField;
class QComboBox;
class QDockWidget;
class QToolBar;
class QUndoGroup;

class CMainFrame : public fw::MdiFrame
{
    Q_OBJECT

public:
    explicit CMainFrame(CEditorSettings& settings);
    int OnCreate() override;
    QToolBar* ToolBar() const { return m_toolBar; }
    QToolBar* ToolsBar() const { return m_toolsBar; }
    QToolBar* ArrangeBar() const { return m_arrangeBar; }
    QDockWidget* History() const { return m_history; }
    QUndoGroup* UndoGroup() const { return m_undoGroup; }
    QComboBox* ZoomBox() const { return m_zoomBox; }
    CSearchField* Search() const { return m_search; }

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

protected:
    bool IndicatorOn(fw::CommandId id) const override;

private:
    void FollowActiveDocument();
    void ShowZoom(double zoom);
    void ApplyZoomText();
    void OnViewHistory();
    void OnUpdateViewHistory(fw::CommandState& state);
    void OnEditFind();
    // Enter in the search field: the Select tool, every match selected, the canvas in focus.
    void SelectMatching();

    QToolBar* m_toolBar = nullptr;
    QToolBar* m_toolsBar = nullptr;
    QToolBar* m_arrangeBar = nullptr;
    QDockWidget* m_history = nullptr;
    QUndoGroup* m_undoGroup = nullptr;
    QComboBox* m_zoomBox = nullptr;
    CEditorSettings& m_settings;
    CSearchField* m_search = nullptr;
    QPointer<CKarveloView> m_zoomedCanvas;
};
