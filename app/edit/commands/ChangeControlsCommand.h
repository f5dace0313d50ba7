// Changes fields of one or more controls: the stored values and the live ones swap places on
// every undo and redo.
#pragma once

#include "LayoutCommand.h"
#include "LayoutDataObject.h"

#include <utility>
#include <vector>

class ChangeControlsCommand : public LayoutCommand
{
public:
    ChangeControlsCommand(StepTarget* target, const QString& text, IndexedControls values,
                          const SelectionState& selection, int mergeId);
    bool mergeWith(const QUndoCommand* other) override;

    // Whether values would change anything at all.
    static bool Changes(const std::vector<LayoutControl>& records, const IndexedControls& values);

protected:
    LayoutChange Apply(bool redo) override;

private:
    IndexedControls m_values;
};
