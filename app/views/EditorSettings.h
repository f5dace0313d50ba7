// What the editor's windows share and the user switches: the canvas tool, the grid, the
// names on the canvas and the query of the search field. The application holds one; every
// view and tool is given it.
#pragma once

#include "query/ControlQuery.h"

#include <QObject>
#include <QString>

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

    // Each control's name inside it on the canvas: off until switched on.
    bool NamesShown() const { return m_names; }
    void ShowNames(bool on);

    // The search field's text and what it asks for: the panels list the controls that match
    // while it holds a query that can be read.
    const QString& QueryText() const { return m_queryText; }
    const ControlQuery& Query() const { return m_query; }
    void SetQueryText(const QString& text);
    // Whether the panels list only some controls.
    bool Filtering() const { return !m_query.IsEmpty() && m_query.IsValid(); }

signals:
    void toolChanged();
    void gridChanged();
    void namesChanged();
    void queryChanged();

private:
    Tool m_tool = DrawTool;
    bool m_grid = false;
    double m_gridSpacing = 8;
    bool m_names = false;
    QString m_queryText;
    ControlQuery m_query;
};
