// The one writer of a layout's records and selection. Every change of the records is a step
// on an undo stack, with the selection before and after it; steps of one gesture (a drag, a
// key held down, a run of typing) merge. After every change, one listener hears what changed
// and who asked for it.
#pragma once

#include "LayoutChange.h"
#include "LayoutDataObject.h"
#include "commands/StepTarget.h"

#include <QString>

#include <functional>
#include <vector>

class LayoutCommand;
class QUndoStack;

class EditModel
{
public:
    // sender: whoever asked for a change and shows it already (null: everyone is told).
    using Listener = std::function<void(const LayoutChange& change, const void* sender)>;

    EditModel(LayoutDataObject& layout, QUndoStack& stack);
    ~EditModel();
    EditModel(const EditModel&) = delete;
    EditModel& operator=(const EditModel&) = delete;

    void SetListener(Listener listener) { m_listener = std::move(listener); }

    const std::vector<LayoutControl>& Controls() const { return m_layout.m_controls; }
    const SelectionState& Selection() const { return m_selection; }
    int CurrentIndex() const { return m_selection.current; }
    // The current control, or null.
    const LayoutControl* CurrentControl() const;
    QUndoStack& Stack() const { return m_stack; }

    // The steps, each named text and what it changed (the one control's name, or how many).
    // Indices are checked: a step that names a record the list does not hold is not made.
    void ChangeControls(const void* sender, IndexedControls values, const QString& text,
                        int mergeId);
    void ChangeControl(const void* sender, std::size_t index, const LayoutControl& value,
                       const QString& text, int mergeId);
    // New rectangles for the controls at indices (ascending), one each; names, ids and the
    // rest stay. A move of many controls costs four floats each, not whole records.
    void ChangeRects(const void* sender, std::vector<std::size_t> indices,
                     std::vector<LayoutRect> rects, const QString& text, int mergeId);
    // Inserts records at their (ascending) indices of the longer list; they become selected,
    // the last one current.
    void InsertControls(const void* sender, IndexedControls records, const QString& text);
    // Removes the records at indices (ascending); newCurrent is an index of the shorter list.
    void RemoveControls(const void* sender, const std::vector<std::size_t>& indices, int newCurrent,
                        const QString& text);
    // order[i]: the index of the control that goes to index i. The selection moves with its
    // controls.
    void ReorderControls(const void* sender, std::vector<std::size_t> order, const QString& text);
    // The whole list at once, as a reload; the first control becomes current.
    void ReplaceControls(const void* sender, std::vector<LayoutControl> records,
                         const QString& text);

    // The current control and the selection: no step of their own.
    void SetSelection(const void* sender, SelectionState selection);
    void SetCurrent(const void* sender, int index);
    // One control at most is selected, the current one, while single is on. Turning it on
    // leaves the current control selected alone, or the first control when none is current.
    void SetSingleSelection(bool single);
    bool SingleSelection() const { return m_single; }
    // The records were written past the steps (a load): the history starts here, with current
    // as the current control.
    void StartAfresh(int current);

    // Steps of one gesture may merge; a new gesture (a press, a field taking the focus, an
    // undo) starts here. Returns the new gesture's number.
    unsigned NewGesture() { return ++m_target.gesture; }
    unsigned Gesture() const { return m_target.gesture; }

    // The number for the next drawn control (see CDrawnNames).
    std::uint32_t NextDrawnNumber() { return m_target.drawnNames.NextNumber(m_target.records); }
    const CDrawnNames& DrawnNames() const { return m_target.drawnNames; }

    // How a step's name tells what it changed: of joins the name and the subject ("%1: %2"),
    // controls counts them ("%1 controls").
    void SetStepFormats(const QString& of, const QString& controls);
    QString StepText(const QString& text, std::size_t count, const tstring& name) const;

private:
    void Push(const void* sender, LayoutCommand* command);
    // A step has changed the records: the selection it leaves, then the listener.
    void Applied(const LayoutChange& change, const SelectionState& selection);
    void SetSelectionState(SelectionState selection);
    void Tell(LayoutChange change, const void* sender);

    LayoutDataObject& m_layout;
    QUndoStack& m_stack;
    StepTarget m_target;
    Listener m_listener;
    SelectionState m_selection;
    bool m_single = false;
    const void* m_sender = nullptr;
    QString m_of = QStringLiteral("%1: %2");
    QString m_controls = QStringLiteral("%1");
};
