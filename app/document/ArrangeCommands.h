// The arranging commands of a layout window: align, distribute, same size and list order of
// the selected controls. They belong to the document, so the "Anordnen" bar, the context menu
// and the keys reach them whichever tool is active.
#pragma once

#include "Commands.h"

class EditModel;

class CArrangeCommands
{
public:
    explicit CArrangeCommands(EditModel& model) : m_model(model) {}
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state);

private:
    void OnAlignLeft();
    void OnAlignHorizontalCentre();
    void OnAlignRight();
    void OnAlignTop();
    void OnAlignVerticalCentre();
    void OnAlignBottom();
    void OnDistributeHorizontally();
    void OnDistributeVertically();
    void OnSameWidth();
    void OnSameHeight();
    void OnSameSize();
    void OnRaise();
    void OnLower();
    void OnToTop();
    void OnToBottom();
    void OnUpdateNeedsSelection(fw::CommandState& state);
    void OnUpdateDistribute(fw::CommandState& state);
    void OnUpdateSameSize(fw::CommandState& state);
    void OnUpdateRaise(fw::CommandState& state);
    void OnUpdateLower(fw::CommandState& state);

    EditModel& m_model;
};
