// The main window: toolbar, status bar with the lock indicators, and the layout windows.
#pragma once

#include "MdiFrame.h"

class QToolBar;

class CMainFrame : public fw::MdiFrame
{
    Q_OBJECT

public:
    CMainFrame();
    int OnCreate() override;
    QToolBar* ToolBar() const { return m_toolBar; }

protected:
    bool IndicatorOn(fw::CommandId id) const override;

private:
    QToolBar* m_toolBar = nullptr;
};
