#include "Selection.h"

#include <algorithm>
#include <cmath>

namespace actions {

IndexedControls SelectedControls(const EditModel& model)
{
    IndexedControls selected;
    selected.reserve(model.Selection().selected.size());
    for (std::size_t index : model.Selection().selected)
        selected.emplace_back(index, model.Controls()[index]);
    return selected;
}

LayoutBox SelectionBounds(const EditModel& model)
{
    // One tight pass: a drag of a hundred thousand controls asks for it at every move.
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (std::size_t index : model.Selection().selected) {
        const LayoutControl& c = model.Controls()[index];
        if (!IsFinite(c))
            continue;
        left = std::min<double>(left, std::min(c.m_x1, c.m_x2));
        right = std::max<double>(right, std::max(c.m_x1, c.m_x2));
        top = std::min<double>(top, std::min(c.m_y1, c.m_y2));
        bottom = std::max<double>(bottom, std::max(c.m_y1, c.m_y2));
    }
    if (left > right)
        return LayoutBox();
    return {left, top, right, bottom, true};
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

void SelectNext(EditModel& model, int step)
{
    const auto count = static_cast<long long>(model.Controls().size());
    if (count == 0)
        return;
    const int current = model.CurrentIndex();
    long long next = 0;
    if (current >= 0)
        next = ((current + step) % count + count) % count;
    else if (step < 0)
        next = count - 1;
    SelectAlone(model, static_cast<int>(next));
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

void SelectMatching(EditModel& model, const ControlQuery& query)
{
    SelectionState matching;
    matching.selected = query.Matching(model.Controls());
    if (!matching.selected.empty())
        matching.current = static_cast<int>(matching.selected.front());
    model.SetSelection(nullptr, std::move(matching));
}

void SelectSame(EditModel& model, Shared what)
{
    const LayoutControl* current = model.CurrentControl();
    if (!current)
        return;
    // Sizes as the panel computes them, compared by their bits: a NaN size shares with no one.
    const auto same = [&](const LayoutControl& c) {
        switch (what) {
        case Shared::Text:
            return c.m_textId == current->m_textId;
        case Shared::Resource:
            return c.m_guiResourceId == current->m_guiResourceId;
        case Shared::Size:
            return c.m_x2 - c.m_x1 == current->m_x2 - current->m_x1 &&
                   c.m_y2 - c.m_y1 == current->m_y2 - current->m_y1;
        }
        return false;
    };
    SelectionState selection;
    selection.current = model.CurrentIndex();
    const auto& controls = model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (same(controls[i]) || static_cast<int>(i) == selection.current)
            selection.selected.push_back(i);
    model.SetSelection(nullptr, std::move(selection));
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
