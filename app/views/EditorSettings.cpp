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

void CEditorSettings::ShowNames(bool on)
{
    if (on == m_names)
        return;
    m_names = on;
    emit namesChanged();
}

void CEditorSettings::SetQueryText(const QString& text)
{
    if (text == m_queryText)
        return;
    m_queryText = text;
    m_query = ControlQuery::Parse(text);
    emit queryChanged();
}
