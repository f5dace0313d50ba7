// The canvas: the wire-frame picture of the layout. Its mouse and keys go to the active tool:
// the Draw tool, where new controls are dragged out, or the Select tool.
#pragma once

#include "LayoutPainter.h"
#include "View.h"
#include "geometry/HitIndex.h"
#include "tools/CanvasTool.h"
#include "views/CanvasPicture.h"

#include <memory>

class CEditorSettings;
class CKarveloDoc;
class QScrollBar;

class CKarveloView : public fw::View, private CCanvasHost
{
    Q_OBJECT

public:
    explicit CKarveloView(CEditorSettings& settings);
    ~CKarveloView() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    void OnUpdate(fw::View* sender, const fw::Hint* hint) override;
    void OnDraw(QPainter& painter) override;
    QSize sizeHint() const override;

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    // Layout coordinates to device pixels for the screen; printing always uses the identity.
    const CanvasMapping& Mapping() const override { return m_mapping; }
    // Which controls lie under a point, kept up to date with the layout.
    CHitIndex& Hits() override { return m_hits; }
    // The zoom steps: 25 % to 1600 %.
    static const std::vector<double>& ZoomLevels();
    double Zoom() const { return m_mapping.zoom; }
    // Zooms keeping the layout point under device where it is (the middle without one).
    void SetZoom(double zoom, QPointF device = QPointF(-1, -1));
    void StepZoom(int steps, QPointF device = QPointF(-1, -1));
    void Pan(int dx, int dy) override;
    // 100 %, with the picture where it stands when the window opens.
    void ResetView();
    // An event's position in device pixels: at 100 % one layout pixel is one device pixel.
    QPoint DevicePoint(const QMouseEvent* event) const;

    // True while a left-button drag of the Draw tool that began on the canvas is open.
    bool m_dragging = false;

    // The canvas pixels painted since the start, and the picture the last paint left: for
    // tests and measurements of partial repaints.
    std::int64_t PaintedPixels() const { return m_paintedPixels; }
    const QImage& LastPicture() const { return m_picture.Shown(); }

signals:
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab and Shift+Tab pick controls in the Select tool instead of moving the focus.
    bool focusNextPrevChild(bool next) override;

private:
    // What the tools see of the canvas.
    CKarveloDoc* Doc() const override { return GetDocument(); }
    QWidget* Widget() override { return this; }
    const CEditorSettings& Settings() const override { return m_settings; }
    fw::MdiFrame* Frame() const override;
    bool& Dragging() override { return m_dragging; }
    void OverlayChanged() override;
    CCanvasHost& Host() { return *this; }
    // Repaints where the tool's overlay was and is, and region besides (device pixels);
    // everything on a scaled screen, where device and widget pixels differ.
    void UpdateRegion(const QRegion& region);

    // Zoomed so far that the layout does not fit, the canvas shows scroll bars that pan it.
    void UpdateScrollBars();
    bool ZoomKey(QKeyEvent* event);
    CCanvasTool& Tool() const;
    void OnToolChanged();

    CEditorSettings& m_settings;
    std::unique_ptr<CCanvasTool> m_drawTool;
    std::unique_ptr<CCanvasTool> m_selectTool;
    CCanvasTool* m_activeTool = nullptr;
    CanvasMapping m_mapping;
    CCanvasPicture m_picture;
    CHitIndex m_hits;
    // Panning: with the middle button, or the left one while Space is held.
    bool m_spaceHeld = false;
    bool m_panning = false;
    QPoint m_panFrom;
    QScrollBar* m_horizontal = nullptr;
    QScrollBar* m_vertical = nullptr;
    bool m_scrolling = false;
    std::int64_t m_paintedPixels = 0;
};
