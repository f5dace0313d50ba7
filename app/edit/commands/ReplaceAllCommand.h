// Replaces the whole list, as a reload does: the old list waits in the command.
#pragma once

#include "LayoutCommand.h"
#include "LayoutDataObject.h"

#include <vector>

class ReplaceAllCommand : public LayoutCommand
{
public:
    ReplaceAllCommand(StepTarget* target, const QString& text, std::vector<LayoutControl> records,
                      SelectionState before, SelectionState after);

protected:
    LayoutChange Apply(bool redo) override;

private:
    std::vector<LayoutControl> m_records;
};
