#include "Arranging.h"

#include "Selection.h"
#include "commands/LayoutCommand.h"

namespace actions {

void Align(EditModel& model, Alignment alignment, const QString& step)
{
    const IndexedControls selected = SelectedControls(model);
    model.ChangeControls(nullptr, Aligned(selected, alignment, AlignmentBox(selected)), step,
                         MERGE_NONE);
}

void Distribute(EditModel& model, bool horizontally, const QString& step)
{
    model.ChangeControls(nullptr, Distributed(SelectedControls(model), horizontally), step,
                         MERGE_NONE);
}

void SameSize(EditModel& model, bool width, bool height, const QString& step)
{
    const LayoutControl* current = model.CurrentControl();
    if (!current)
        return;
    model.ChangeControls(nullptr, ::SameSize(SelectedControls(model), *current, width, height),
                         step, MERGE_NONE);
}

void Reorder(EditModel& model, Order order, const QString& step)
{
    model.ReorderControls(nullptr,
                          Reordered(model.Controls().size(), model.Selection().selected, order),
                          step);
}

} // namespace actions
