// The Edit commands on the canvas while the Select tool is active: undo, select all, copy,
// cut, paste, delete and duplicate, each on the edit model's operations. With the Draw tool
// the canvas carries none of them.
#pragma once

#include "Commands.h"

#include <functional>

class CCanvasHost;

class CSelectCommands
{
public:
    // idle: whether the tool has no gesture open; the commands wait for it.
    CSelectCommands(CCanvasHost& host, std::function<bool()> idle);
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state);

private:
    void OnEditUndo();
    void OnSelectAll();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditClear();
    void OnEditDuplicate();
    void OnSelectSameText();
    void OnSelectSameResource();
    void OnSelectSameSize();
    void OnUpdateNeedsCurrent(fw::CommandState& state);
    void OnUpdateEditUndo(fw::CommandState& state);
    void OnUpdateSelectAll(fw::CommandState& state);
    void OnUpdateNeedsSelection(fw::CommandState& state);
    void OnUpdateEditPaste(fw::CommandState& state);
    void Insert(bool pasted);

    CCanvasHost& m_host;
    std::function<bool()> m_idle;
};
