// What the editor's windows share and the user switches: the canvas tool and the grid. The
// application holds one; every canvas and its tools are given it.
#pragma once

#include <QObject>

class CEditorSettings : public QObject
{
    Q_OBJECT

public:
    // The canvases' tool: the same in every window, Draw at every start.
    enum Tool
    {
        DrawTool,
        SelectTool,
    };
    Tool CurrentTool() const { return m_tool; }
    void SetTool(Tool tool);

    // The grid of the Select tool: off at start; its spacing in layout pixels is a setting.
    bool GridOn() const { return m_grid; }
    void SetGrid(bool on);
    double GridSpacing() const { return m_gridSpacing; }
    void SetGridSpacing(double spacing) { m_gridSpacing = spacing > 0 ? spacing : 8; }
    // The spacing of the grid that shows and snaps now: the Select tool's, when it is on;
    // 0 otherwise.
    double ActiveGrid() const;

signals:
    void toolChanged();
    void gridChanged();

private:
    Tool m_tool = DrawTool;
    bool m_grid = false;
    double m_gridSpacing = 8;
};
