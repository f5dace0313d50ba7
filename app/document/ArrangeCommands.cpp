#include "document/ArrangeCommands.h"

#include "Strings.h"
#include "actions/Arranging.h"
#include "actions/Selection.h"
#include "resources/Resource.h"

using namespace resources;

namespace {

QString alignStep()
{
    return fw::LoadString(IDS_STEP_ALIGN);
}

} // namespace

bool CArrangeCommands::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    using T = CArrangeCommands;
    static const fw::CommandTable<CArrangeCommands> table = {
        {ID_ALIGN_LEFT, &T::OnAlignLeft, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_HCENTRE, &T::OnAlignHorizontalCentre, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_RIGHT, &T::OnAlignRight, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_TOP, &T::OnAlignTop, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_VCENTRE, &T::OnAlignVerticalCentre, &T::OnUpdateNeedsSelection},
        {ID_ALIGN_BOTTOM, &T::OnAlignBottom, &T::OnUpdateNeedsSelection},
        {ID_DISTRIBUTE_H, &T::OnDistributeHorizontally, &T::OnUpdateDistribute},
        {ID_DISTRIBUTE_V, &T::OnDistributeVertically, &T::OnUpdateDistribute},
        {ID_SAME_WIDTH, &T::OnSameWidth, &T::OnUpdateSameSize},
        {ID_SAME_HEIGHT, &T::OnSameHeight, &T::OnUpdateSameSize},
        {ID_SAME_SIZE, &T::OnSameSize, &T::OnUpdateSameSize},
        {ID_ORDER_RAISE, &T::OnRaise, &T::OnUpdateRaise},
        {ID_ORDER_TO_TOP, &T::OnToTop, &T::OnUpdateRaise},
        {ID_ORDER_LOWER, &T::OnLower, &T::OnUpdateLower},
        {ID_ORDER_TO_BOTTOM, &T::OnToBottom, &T::OnUpdateLower},
    };
    return table.Dispatch(this, id, state);
}

void CArrangeCommands::OnAlignLeft()
{
    actions::Align(m_model, Alignment::Left, alignStep());
}
void CArrangeCommands::OnAlignHorizontalCentre()
{
    actions::Align(m_model, Alignment::HorizontalCentre, alignStep());
}
void CArrangeCommands::OnAlignRight()
{
    actions::Align(m_model, Alignment::Right, alignStep());
}
void CArrangeCommands::OnAlignTop()
{
    actions::Align(m_model, Alignment::Top, alignStep());
}
void CArrangeCommands::OnAlignVerticalCentre()
{
    actions::Align(m_model, Alignment::VerticalCentre, alignStep());
}
void CArrangeCommands::OnAlignBottom()
{
    actions::Align(m_model, Alignment::Bottom, alignStep());
}

void CArrangeCommands::OnDistributeHorizontally()
{
    actions::Distribute(m_model, true, fw::LoadString(IDS_STEP_DISTRIBUTE));
}
void CArrangeCommands::OnDistributeVertically()
{
    actions::Distribute(m_model, false, fw::LoadString(IDS_STEP_DISTRIBUTE));
}

void CArrangeCommands::OnSameWidth()
{
    actions::SameSize(m_model, true, false, fw::LoadString(IDS_STEP_SAME_SIZE));
}
void CArrangeCommands::OnSameHeight()
{
    actions::SameSize(m_model, false, true, fw::LoadString(IDS_STEP_SAME_SIZE));
}
void CArrangeCommands::OnSameSize()
{
    actions::SameSize(m_model, true, true, fw::LoadString(IDS_STEP_SAME_SIZE));
}

void CArrangeCommands::OnRaise()
{
    actions::Reorder(m_model, Order::Raise, fw::LoadString(IDS_STEP_REORDER));
}
void CArrangeCommands::OnLower()
{
    actions::Reorder(m_model, Order::Lower, fw::LoadString(IDS_STEP_REORDER));
}
void CArrangeCommands::OnToTop()
{
    actions::Reorder(m_model, Order::ToTop, fw::LoadString(IDS_STEP_REORDER));
}
void CArrangeCommands::OnToBottom()
{
    actions::Reorder(m_model, Order::ToBottom, fw::LoadString(IDS_STEP_REORDER));
}

void CArrangeCommands::OnUpdateNeedsSelection(fw::CommandState& state)
{
    state.Enable(actions::HasSelection(m_model));
}
void CArrangeCommands::OnUpdateDistribute(fw::CommandState& state)
{
    state.Enable(actions::CanDistribute(m_model));
}
void CArrangeCommands::OnUpdateSameSize(fw::CommandState& state)
{
    state.Enable(actions::CanSameSize(m_model));
}
void CArrangeCommands::OnUpdateRaise(fw::CommandState& state)
{
    state.Enable(actions::CanRaise(m_model));
}
void CArrangeCommands::OnUpdateLower(fw::CommandState& state)
{
    state.Enable(actions::CanLower(m_model));
}
