#include "Selection.h"

#include <algorithm>

namespace actions {

IndexedControls SelectedControls(const EditModel& model)
{
    IndexedControls selected;
    selected.reserve(model.Selection().selected.size());
    for (std::size_t index : model.Selection().selected)
        selected.emplace_back(index, model.Controls()[index]);
    return selected;
}

std::vector<LayoutControl> SelectedRecords(const EditModel& model)
{
    std::vector<LayoutControl> records;
    records.reserve(model.Selection().selected.size());
    for (std::size_t index : model.Selection().selected)
        records.push_back(model.Controls()[index]);
    return records;
}

void SelectAlone(EditModel& model, int index)
{
    model.SetSelection(nullptr, SelectionState::Only(index));
}

void Toggle(EditModel& model, int index)
{
    SelectionState selection = model.Selection();
    auto& selected = selection.selected;
    const auto at =
        std::lower_bound(selected.begin(), selected.end(), static_cast<std::size_t>(index));
    if (at != selected.end() && *at == static_cast<std::size_t>(index)) {
        selected.erase(at);
        if (selection.current == index)
            selection.current = selected.empty() ? -1 : static_cast<int>(selected.back());
    } else {
        selected.insert(at, static_cast<std::size_t>(index));
        selection.current = index;
    }
    model.SetSelection(nullptr, std::move(selection));
}

void SelectAll(EditModel& model)
{
    SelectionState all;
    const std::size_t count = model.Controls().size();
    all.selected.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        all.selected[i] = i;
    all.current = model.CurrentIndex() >= 0 ? model.CurrentIndex() : static_cast<int>(count) - 1;
    model.SetSelection(nullptr, std::move(all));
}

void SelectNone(EditModel& model)
{
    model.SetSelection(nullptr, SelectionState());
}

bool HasSelection(const EditModel& model)
{
    return !model.Selection().selected.empty();
}

bool CanDistribute(const EditModel& model)
{
    return model.Selection().selected.size() >= 3;
}

bool CanSameSize(const EditModel& model)
{
    return model.Selection().selected.size() >= 2 && model.CurrentIndex() >= 0;
}

bool CanRaise(const EditModel& model)
{
    const auto& selected = model.Selection().selected;
    return !selected.empty() && selected.front() != model.Controls().size() - selected.size();
}

bool CanLower(const EditModel& model)
{
    const auto& selected = model.Selection().selected;
    return !selected.empty() && selected.back() != selected.size() - 1;
}

} // namespace actions
