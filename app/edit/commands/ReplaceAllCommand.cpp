#include "ReplaceAllCommand.h"

#include "DrawnNames.h"

ReplaceAllCommand::ReplaceAllCommand(StepTarget* target, const QString& text,
                                     std::vector<LayoutControl> records, SelectionState before,
                                     SelectionState after)
    : LayoutCommand(target, text, std::move(before), std::move(after)),
      m_records(std::move(records))
{
}

LayoutChange ReplaceAllCommand::Apply(bool)
{
    Records().swap(m_records);
    DrawnNames().Invalidate();
    LayoutChange hint;
    hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
    return hint;
}
