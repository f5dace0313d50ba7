// Picking controls on the canvas, deleting them, and the layout's undo and redo by key.
#pragma once

#include "CanvasTool.h"

class CSelectTool : public CCanvasTool
{
public:
    using CCanvasTool::CCanvasTool;

    void MousePress(QMouseEvent* event) override;
    bool KeyPress(QKeyEvent* event) override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

private:
    void DeleteCurrent();
    void OnEditUndo();
    void OnUpdateEditUndo(fw::CommandState& state);
};
