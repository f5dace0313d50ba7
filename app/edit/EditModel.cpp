#include "EditModel.h"

#include "commands/ChangeControlsCommand.h"
#include "commands/ChangeRectsCommand.h"
#include "commands/InsertRemoveCommand.h"
#include "commands/ReorderCommand.h"
#include "commands/ReplaceAllCommand.h"

#include <QUndoStack>

#include <algorithm>

namespace {

// Steps trust their indices; anything that asks for one checks them here first.
bool ascendingBelow(const std::vector<std::size_t>& indices, std::size_t limit)
{
    for (std::size_t i = 0; i < indices.size(); ++i)
        if (indices[i] >= limit || (i > 0 && indices[i] <= indices[i - 1]))
            return false;
    return true;
}

std::vector<std::size_t> indicesOf(const IndexedControls& values)
{
    std::vector<std::size_t> indices;
    indices.reserve(values.size());
    for (const auto& value : values)
        indices.push_back(value.first);
    return indices;
}

// %1 and %2 of pattern in one pass, so that a %2 inside the first stays as it is.
QString format(const QString& pattern, const QString& first, const QString& second = QString())
{
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u'1' || pattern[i + 1] == u'2')) {
            text += pattern[i + 1] == u'1' ? first : second;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace

EditModel::EditModel(LayoutDataObject& layout, QUndoStack& stack)
    : m_layout(layout), m_stack(stack), m_target(layout.m_controls)
{
    m_target.applied = [this](const LayoutChange& change, const SelectionState& selection) {
        Applied(change, selection);
    };
    // A step undone or redone ends the gesture: what follows never merges into it.
    QObject::connect(&m_stack, &QUndoStack::indexChanged, &m_stack, [this] {
        if (!m_target.pushing)
            NewGesture();
    });
}

EditModel::~EditModel()
{
    QObject::disconnect(&m_stack, &QUndoStack::indexChanged, &m_stack, nullptr);
}

const LayoutControl* EditModel::CurrentControl() const
{
    return m_selection.current < 0
               ? nullptr
               : &m_layout.m_controls[static_cast<std::size_t>(m_selection.current)];
}

void EditModel::SetStepFormats(const QString& of, const QString& controls)
{
    m_of = of;
    m_controls = controls;
}

QString EditModel::StepText(const QString& text, std::size_t count, const tstring& name) const
{
    if (count > 1)
        return format(m_of, text, format(m_controls, QString::number(count)));
    if (count == 1 && !name.empty())
        return format(m_of, text,
                      QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    return text;
}

void EditModel::Push(const void* sender, LayoutCommand* command)
{
    if (command->isObsolete()) {
        delete command;
        return;
    }
    m_sender = sender;
    m_target.pushing = true;
    m_stack.push(command);
    m_target.pushing = false;
    m_sender = nullptr;
}

void EditModel::ChangeControls(const void* sender, IndexedControls values, const QString& text,
                               int mergeId)
{
    if (values.empty() || !ascendingBelow(indicesOf(values), m_layout.m_controls.size()))
        return;
    const QString named = StepText(text, values.size(), values.front().second.m_name);
    Push(sender,
         new ChangeControlsCommand(&m_target, named, std::move(values), m_selection, mergeId));
}

void EditModel::ChangeControl(const void* sender, std::size_t index, const LayoutControl& value,
                              const QString& text, int mergeId)
{
    ChangeControls(sender, {{index, value}}, text, mergeId);
}

void EditModel::ChangeRects(const void* sender, std::vector<std::size_t> indices,
                            std::vector<LayoutRect> rects, const QString& text, int mergeId)
{
    if (indices.empty() || rects.size() != indices.size() ||
        !ascendingBelow(indices, m_layout.m_controls.size()))
        return;
    const QString named = StepText(text, indices.size(), m_layout.m_controls[indices[0]].m_name);
    Push(sender, new ChangeRectsCommand(&m_target, named, std::move(indices), std::move(rects),
                                        m_selection, mergeId));
}

void EditModel::InsertControls(const void* sender, IndexedControls records, const QString& text)
{
    if (records.empty() ||
        !ascendingBelow(indicesOf(records), m_layout.m_controls.size() + records.size()))
        return;
    SelectionState after;
    after.selected.reserve(records.size());
    for (const auto& record : records)
        after.selected.push_back(record.first);
    after.current = static_cast<int>(after.selected.back());
    const QString named = StepText(text, records.size(), records.front().second.m_name);
    Push(sender, InsertRemoveCommand::Insert(&m_target, named, std::move(records), m_selection,
                                             std::move(after)));
}

void EditModel::RemoveControls(const void* sender, const std::vector<std::size_t>& indices,
                               int newCurrent, const QString& text)
{
    if (indices.empty() || !ascendingBelow(indices, m_layout.m_controls.size()))
        return;
    const QString named = StepText(text, indices.size(), m_layout.m_controls[indices[0]].m_name);
    Push(sender, InsertRemoveCommand::Remove(&m_target, named, indices, m_selection,
                                             SelectionState::Only(newCurrent)));
}

void EditModel::ReorderControls(const void* sender, std::vector<std::size_t> order,
                                const QString& text)
{
    if (order.size() != m_layout.m_controls.size())
        return;
    // order must name every control once.
    std::vector<std::size_t> where(order.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] >= order.size() || where[order[i]] != order.size())
            return;
        where[order[i]] = i;
    }
    SelectionState after;
    for (std::size_t index : m_selection.selected)
        after.selected.push_back(where[index]);
    std::sort(after.selected.begin(), after.selected.end());
    after.current = m_selection.current < 0
                        ? -1
                        : static_cast<int>(where[static_cast<std::size_t>(m_selection.current)]);
    const std::size_t moved = m_selection.selected.size();
    const QString named =
        StepText(text, moved, moved ? m_layout.m_controls[m_selection.selected[0]].m_name : "");
    Push(sender,
         new ReorderCommand(&m_target, named, std::move(order), m_selection, std::move(after)));
}

void EditModel::ReplaceControls(const void* sender, std::vector<LayoutControl> records,
                                const QString& text)
{
    SelectionState after = SelectionState::Only(records.empty() ? -1 : 0);
    Push(sender,
         new ReplaceAllCommand(&m_target, text, std::move(records), m_selection, std::move(after)));
}

void EditModel::SetCurrent(const void* sender, int index)
{
    SetSelection(sender, SelectionState::Only(index));
}

void EditModel::SetSelection(const void* sender, SelectionState selection)
{
    if (selection == m_selection)
        return;
    const int current = m_selection.current;
    SetSelectionState(std::move(selection));
    LayoutChange change;
    change.flags = LayoutChange::SELECTION;
    if (m_selection.current != current)
        change.flags |= LayoutChange::CURRENT;
    Tell(change, sender);
}

void EditModel::SetSingleSelection(bool single)
{
    m_single = single;
    if (!single)
        return;
    const int current = m_selection.current >= 0      ? m_selection.current
                        : m_layout.m_controls.empty() ? -1
                                                      : 0;
    SetSelection(nullptr, SelectionState::Only(current));
}

void EditModel::StartAfresh(int current)
{
    m_target.drawnNames.Invalidate();
    SetSelectionState(SelectionState::Only(current));
}

void EditModel::SetSelectionState(SelectionState selection)
{
    m_selection = std::move(selection);
    if (m_single && m_selection.selected.size() != (m_selection.current >= 0 ? 1u : 0u))
        m_selection = SelectionState::Only(m_selection.current);
    const auto count = m_layout.m_controls.size();
    // A state from a step always fits its list; anything else is trimmed to it.
    std::erase_if(m_selection.selected, [count](std::size_t index) { return index >= count; });
    if (m_selection.current >= static_cast<int>(count))
        m_selection.current = -1;
}

void EditModel::Applied(const LayoutChange& change, const SelectionState& step)
{
    SelectionState selection = step;
    // A step made while nothing was current, undone while one control is selected at most:
    // a layout with controls keeps a current one then.
    if (m_single && selection.current < 0 && !m_layout.m_controls.empty())
        selection = SelectionState::Only(0);
    LayoutChange told = change;
    if (selection.current != m_selection.current)
        told.flags |= LayoutChange::CURRENT;
    if (selection.selected != m_selection.selected)
        told.flags |= LayoutChange::SELECTION;
    SetSelectionState(std::move(selection));
    Tell(told, m_sender);
}

void EditModel::Tell(LayoutChange change, const void* sender)
{
    change.sender = sender;
    if (m_listener)
        m_listener(change, sender);
}
