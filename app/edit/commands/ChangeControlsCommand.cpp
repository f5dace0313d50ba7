#include "ChangeControlsCommand.h"

#include "DrawnNames.h"
#include "LayoutFile.h"

#include <algorithm>

ChangeControlsCommand::ChangeControlsCommand(StepTarget* target, const QString& text,
                                             IndexedControls values,
                                             const SelectionState& selection, int mergeId)
    : LayoutCommand(target, text, selection, selection, mergeId), m_values(std::move(values))
{
    setObsolete(!Changes(Records(), m_values));
}

bool ChangeControlsCommand::Changes(const std::vector<LayoutControl>& records,
                                    const IndexedControls& values)
{
    return std::any_of(values.begin(), values.end(), [&](const auto& value) {
        return !IdenticalRecords(records[value.first], value.second);
    });
}

LayoutChange ChangeControlsCommand::Apply(bool)
{
    // Both directions are one swap: what is stored goes live, what was live is stored.
    std::vector<LayoutControl>& records = Records();
    CDrawnNames& names = DrawnNames();
    if (m_values.size() > RECOUNT_ABOVE)
        names.Invalidate();
    LayoutChange hint;
    hint.flags = LayoutChange::RECORDS;
    for (auto& [index, value] : m_values) {
        LayoutControl& record = records[index];
        if (record.m_name != value.m_name)
            hint.flags |= LayoutChange::NAMES;
        if (record.m_id != value.m_id || record.m_name != value.m_name) {
            names.Removed(record);
            names.Added(value);
        }
        std::swap(record, value);
        hint.indices.push_back(index);
    }
    return hint;
}

bool ChangeControlsCommand::mergeWith(const QUndoCommand* other)
{
    const auto* later = dynamic_cast<const ChangeControlsCommand*>(other);
    if (!later || later->m_values.size() != m_values.size() ||
        !std::equal(m_values.begin(), m_values.end(), later->m_values.begin(),
                    [](const auto& a, const auto& b) { return a.first == b.first; }))
        return false;
    if (!MergeSelection(later))
        return false;
    // Named after the latest: a run of keys into Name ends with the name typed last.
    setText(later->text());
    // This step keeps the values from before its first change; the records hold the latest.
    setObsolete(!Changes(Records(), m_values));
    return true;
}
