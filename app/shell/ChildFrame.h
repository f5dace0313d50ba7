// A layout window: the properties panel on the left, the canvas on the right.
#pragma once

#include "MdiChild.h"

class CEditorSettings;
class CFocusCycle;
class QSplitter;

class CChildFrame : public fw::MdiChild
{
    Q_OBJECT

public:
    explicit CChildFrame(CEditorSettings& settings);
    bool OnCreateClient(fw::CreateContext& context) override;
    QSplitter* Splitter() const { return m_splitter; }
    // F6 and Shift+F6 go round the canvas, the panel's fields and its list.
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    static constexpr int PANEL_WIDTH = 170;

private:
    CEditorSettings& m_settings;
    QSplitter* m_splitter = nullptr;
    CFocusCycle* m_focus = nullptr;
};
