// The canvas: the wire-frame picture of the layout. Its mouse and keys go to the active tool:
// the Draw tool, where new controls are dragged out, or the Select tool.
#pragma once

#include "View.h"

#include <memory>

class CCanvasTool;
class CKarveloDoc;

class CKarveloView : public fw::View
{
    Q_OBJECT

public:
    CKarveloView();
    ~CKarveloView() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    void OnUpdate(fw::View* sender, const fw::Hint* hint) override;
    void OnDraw(QPainter& painter) override;
    QSize sizeHint() const override;

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    // True while a left-button drag of the Draw tool that began on the canvas is open.
    bool m_dragging = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CCanvasTool& Tool() const;
    void OnToolChanged();

    std::unique_ptr<CCanvasTool> m_drawTool;
    std::unique_ptr<CCanvasTool> m_selectTool;
    CCanvasTool* m_activeTool = nullptr;
};
