// A layout window: the properties panel on the left, the canvas on the right.
#pragma once

#include "MdiChild.h"

class QSplitter;

class CChildFrame : public fw::MdiChild
{
    Q_OBJECT

public:
    CChildFrame();
    bool OnCreateClient(fw::CreateContext& context) override;
    QSplitter* Splitter() const { return m_splitter; }

    static constexpr int PANEL_WIDTH = 170;

private:
    QSplitter* m_splitter = nullptr;
};
