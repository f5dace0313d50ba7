#include "views/EditorSettings.h"

void CEditorSettings::SetTool(Tool tool)
{
    if (tool == m_tool)
        return;
    m_tool = tool;
    emit toolChanged();
}

void CEditorSettings::SetGrid(bool on)
{
    if (on == m_grid)
        return;
    m_grid = on;
    emit gridChanged();
}

double CEditorSettings::ActiveGrid() const
{
    return m_grid && m_tool == SelectTool ? m_gridSpacing : 0.0;
}
