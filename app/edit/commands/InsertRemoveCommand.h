// Adds controls to the list or removes them. The records live either in the list or in the
// command, never in both: each undo and redo moves them across.
#pragma once

#include "LayoutCommand.h"
#include "LayoutDataObject.h"

#include <utility>
#include <vector>

class InsertRemoveCommand : public LayoutCommand
{
public:
    // Inserts items (whose indices are those of the longer list).
    static InsertRemoveCommand* Insert(StepTarget* target, const QString& text,
                                       IndexedControls items, SelectionState before,
                                       SelectionState after);
    // Removes the records at indices.
    static InsertRemoveCommand* Remove(StepTarget* target, const QString& text,
                                       const std::vector<std::size_t>& indices,
                                       SelectionState before, SelectionState after);

protected:
    LayoutChange Apply(bool redo) override;

private:
    InsertRemoveCommand(StepTarget* target, const QString& text, bool inserts,
                        IndexedControls items, SelectionState before, SelectionState after);
    void MoveIntoList();
    void MoveOutOfList();

    bool m_inserts;
    // Where the records stand in the list while they are in it.
    IndexedControls m_items;
};
