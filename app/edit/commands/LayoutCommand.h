// The base of every undoable change of a layout: it applies its change in both directions and
// puts back the current control and the selection that belong to either side of it.
#pragma once

#include "StepTarget.h"

#include <QUndoCommand>

// Steps with the same merge id may merge into one while a gesture lasts (a run of keys into
// one field, one drag, one key held down). -1: never.
enum MergeId
{
    MERGE_NONE = -1,
    MERGE_X1 = 1,
    MERGE_Y1,
    MERGE_WIDTH,
    MERGE_HEIGHT,
    MERGE_NAME,
    MERGE_ID,
    MERGE_GUI_RESOURCE_ID,
    MERGE_TEXT_ID,
    MERGE_MOVE,
    MERGE_RESIZE,
    MERGE_NUDGE,
    MERGE_GROW, // the right and bottom edges by the keys
};

class LayoutCommand : public QUndoCommand
{
public:
    LayoutCommand(StepTarget* target, const QString& text, SelectionState before,
                  SelectionState after, int mergeId = MERGE_NONE);

    int id() const override { return m_mergeId; }
    void undo() final;
    void redo() final;

protected:
    // Makes the change (redo) or takes it back; returns what it touched.
    virtual LayoutChange Apply(bool redo) = 0;
    // The later step's selection becomes this one's after a merge.
    bool MergeSelection(const LayoutCommand* later);
    std::vector<LayoutControl>& Records() const;
    // The names and ids in use, kept in step with the records a step moves in and out.
    CDrawnNames& DrawnNames() const;
    // Past this many records, a step has the names and ids counted afresh when next asked.
    static constexpr std::size_t RECOUNT_ABOVE = 4096;

private:
    void Applied(const LayoutChange& change, const SelectionState& selection);

    StepTarget* m_target;
    SelectionState m_before;
    SelectionState m_after;
    int m_mergeId;
    unsigned m_gesture;
};
