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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnLButtonDown(QPoint point);
    void OnMouseMove(QPoint point);
    void OnLButtonUp(QPoint point);
};
