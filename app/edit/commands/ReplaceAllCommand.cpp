#include "ReplaceAllCommand.h"

#include "DrawnNames.h"

ReplaceAllCommand::ReplaceAllCommand(CKarveloDoc* doc, const QString& text,
                                     std::vector<LayoutControl> records, SelectionState before,
                                     SelectionState after)
    : LayoutCommand(doc, text, std::move(before), std::move(after)), m_records(std::move(records))
{
}

CLayoutHint ReplaceAllCommand::Apply(bool)
{
    Records().swap(m_records);
    DrawnNames().Invalidate();
    CLayoutHint hint;
    hint.flags = CLayoutHint::RECORDS | CLayoutHint::LIST;
    return hint;
}
