// A layout window: the properties panel on the left, the canvas on the right.
#pragma once

#include "MdiChild.h"

class CEditorSettings;
class QSplitter;

class CChildFrame : public fw::MdiChild
{
    Q_OBJECT

public:
    explicit CChildFrame(CEditorSettings& settings);
    bool OnCreateClient(fw::CreateContext& context) override;
    QSplitter* Splitter() const { return m_splitter; }

    static constexpr int PANEL_WIDTH = 170;

private:
    CEditorSettings& m_settings;
    QSplitter* m_splitter = nullptr;
};
