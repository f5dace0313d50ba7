// The canvas: the wire-frame picture of the layout, where new controls are dragged out.
#pragma once

#include "View.h"

class CKarveloDoc;

class CKarveloView : public fw::View
{
    Q_OBJECT

public:
    CKarveloView();
    ~CKarveloView() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    void OnDraw(QPainter& painter) override;
    QSize sizeHint() const override;

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    // True while a left-button drag that began on the canvas is open.
    bool m_dragging = false;
};
