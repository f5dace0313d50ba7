#include "Editing.h"

#include "DrawnNames.h"
#include "Selection.h"
#include "commands/LayoutCommand.h"
#include "geometry/PasteRules.h"
#include "geometry/Transform.h"

#include <algorithm>

namespace actions {

void Nudge(EditModel& model, float dx, float dy, bool repeated, const QString& step)
{
    if (!HasSelection(model))
        return;
    // A key held down is one step; each new press is another.
    if (!repeated)
        model.NewGesture();
    const std::vector<std::size_t>& selected = model.Selection().selected;
    std::vector<LayoutRect> rects;
    rects.reserve(selected.size());
    for (std::size_t index : selected) {
        const LayoutControl& c = model.Controls()[index];
        const double x = dx, y = dy;
        rects.push_back({static_cast<float>(c.m_x1 + x), static_cast<float>(c.m_y1 + y),
                         static_cast<float>(c.m_x2 + x), static_cast<float>(c.m_y2 + y)});
    }
    model.ChangeRects(nullptr, selected, std::move(rects), step, MERGE_NUDGE);
}

void Grow(EditModel& model, float dx, float dy, bool repeated, const QString& step)
{
    if (!HasSelection(model))
        return;
    if (!repeated)
        model.NewGesture();
    model.ChangeControls(nullptr, Grown(SelectedControls(model), dx, dy), step, MERGE_GROW);
}

void InsertNew(EditModel& model, const QString& step)
{
    const std::vector<LayoutControl>& controls = model.Controls();
    const LayoutControl* above = model.CurrentControl();
    if (!above && !controls.empty())
        above = &controls.back();
    const LayoutBox box = above ? BoxOf(*above) : LayoutBox();
    LayoutControl c;
    c.m_x1 = box.valid ? static_cast<float>(box.left) : INSERTED_GAP;
    c.m_y1 = box.valid ? static_cast<float>(box.bottom + INSERTED_GAP) : INSERTED_GAP;
    c.m_x2 = c.m_x1 + INSERTED_WIDTH;
    c.m_y2 = c.m_y1 + INSERTED_HEIGHT;
    c.m_id = model.NextDrawnNumber();
    c.m_name = CDrawnNames::NameFor(c.m_id);
    model.InsertControls(nullptr, {{controls.size(), std::move(c)}}, step);
}

void DeleteSelection(EditModel& model, const QString& step)
{
    const std::vector<std::size_t> selected = model.Selection().selected;
    if (selected.empty())
        return;
    const auto left = static_cast<int>(model.Controls().size() - selected.size());
    const int current = left == 0 ? -1 : std::min(static_cast<int>(selected.front()), left - 1);
    model.RemoveControls(nullptr, selected, current, step);
}

bool Paste(EditModel& model, std::vector<LayoutControl> controls, const QString& step,
           std::string& badName)
{
    if (!FitPastedControls(model.Controls(), controls, badName))
        return false;
    IndexedControls values;
    values.reserve(controls.size());
    const std::size_t first = model.Controls().size();
    for (std::size_t i = 0; i < controls.size(); ++i)
        values.emplace_back(first + i, std::move(controls[i]));
    model.InsertControls(nullptr, std::move(values), step);
    return true;
}

bool Duplicate(EditModel& model, const QString& step, std::string& badName)
{
    return Paste(model, SelectedRecords(model), step, badName);
}

} // namespace actions
