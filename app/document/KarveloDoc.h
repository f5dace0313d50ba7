// One open layout: its controls, the current one, the record being drawn, and its views.
// The document is the only writer of the layout: every change is a step on its undo stack,
// and afterwards every view of the document hears what changed.
#pragma once

#include "Document.h"
#include "DrawnNames.h"
#include "LayoutDataObject.h"
#include "LayoutChange.h"

#include <QPointer>

#include <memory>
#include <utility>
#include <vector>

class CDocRecovery;
class CExternalChange;
class CKarveloView;
class CKarveloView_Controls;
class LayoutCommand;

namespace fw {
struct FileStamp;
}

class CKarveloDoc : public fw::Document
{
    Q_OBJECT

public:
    CKarveloDoc();
    ~CKarveloDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;
    void OnCloseDocument() override;

    HRESULT LoadLayout(const QString& path);
    HRESULT SaveLayout(const QString& path);

    // The staging record of a drag on the canvas: both corners at the press, the second one
    // following the pointer; named after the number of controls when it becomes a control,
    // or after the next number above it that no name and no id of the layout holds.
    void StageNewControl(float x, float y);
    void MoveNewControl(float x, float y);
    void NameNewControl();
    // Appends a copy of m_newControl and makes it current, as one step.
    void AddNewControl(fw::View* sender = nullptr);

    // The changes of the layout, each one undoable step named text and what it changed (the
    // one control's name, or how many). sender is the view that asked for it and shows it
    // already; every other view is told.
    void ChangeControls(fw::View* sender, IndexedControls values, const QString& text, int mergeId);
    void ChangeControl(fw::View* sender, std::size_t index, const LayoutControl& value,
                       const QString& text, int mergeId);
    // Inserts records at their (ascending) indices of the longer list; they become selected.
    void InsertControls(fw::View* sender, IndexedControls records, const QString& text);
    // Removes the records at indices (ascending); newCurrent is an index of the shorter list.
    void RemoveControls(fw::View* sender, const std::vector<std::size_t>& indices, int newCurrent,
                        const QString& text);
    // order[i]: the index of the control that goes to index i.
    void ReorderControls(fw::View* sender, std::vector<std::size_t> order, const QString& text);
    void ReplaceControls(fw::View* sender, std::vector<LayoutControl> records, const QString& text);

    // The current control and the selection: no step of their own.
    int CurrentIndex() const { return m_selection.current; }
    const SelectionState& Selection() const { return m_selection; }
    void SetCurrentControl(fw::View* sender, int index);
    void SetSelection(fw::View* sender, SelectionState selection);
    // One control at most is selected, the current one, while single is on (the Draw tool).
    // Turning it on leaves the current control selected alone, or the first control when
    // none is current.
    void SetSingleSelection(bool single);
    const CDrawnNames& DrawnNames() const { return m_drawnNames; }

    // Steps of one gesture may merge; a new gesture (a new press, focus, an undo) starts here.
    void NewGesture() { ++m_gesture; }
    unsigned Gesture() const { return m_gesture; }

    // A view of this document is going: m_panel and m_canvas move to another window's views,
    // or become null when none is left.
    void ReleaseView(fw::View* closing);

    // Crash recovery and the file on disk (DocRecovery.h, ExternalChange.h). The application
    // gives a document its copy keeper; without one, no copy is written.
    void SetRecovery(std::unique_ptr<CDocRecovery> recovery);
    CDocRecovery* Recovery() const { return m_recovery.get(); }
    CExternalChange* External() const { return m_external.get(); }
    // A copy recovered after a crash becomes the document's content: modified, under the
    // original path so that Save writes there, or untitled under its old title.
    void TakeRecovered(std::vector<LayoutControl> records, const QString& path,
                       const QString& title, const fw::FileStamp& recorded);

    // The views of the window opened last; never a view that has been destroyed.
    QPointer<CKarveloView_Controls> m_panel;
    QPointer<CKarveloView> m_canvas;
    // Read by the views; written only by the document and its steps.
    LayoutDataObject m_layout;
    // Points into m_layout.m_controls at the current control, or is null.
    const LayoutControl* m_currentControl = nullptr;
    // The staging record of a drag on the canvas.
    LayoutControl m_newControl;

private:
    friend class LayoutCommand;

    // text with what a step changes: count controls, the one of them named name.
    static QString StepText(const QString& text, std::size_t count, const tstring& name);
    // The file and the cause of a failed load or save, for the box and the trace.
    QString FailureDetails(const QString& path, HRESULT hr, bool loading) const;
    void Push(fw::View* sender, LayoutCommand* command);
    // A step has changed the records: the selection it leaves, then the views.
    void ApplyChange(const CLayoutHint& hint, const SelectionState& selection);
    void SetSelectionState(SelectionState selection);
    void StartAfresh(int current);
    void OnLayoutUndo();
    void OnEditRedo();
    void OnUpdateLayoutUndo(fw::CommandState& state);
    void OnUpdateEditRedo(fw::CommandState& state);

    std::unique_ptr<CExternalChange> m_external;
    std::unique_ptr<CDocRecovery> m_recovery;
    SelectionState m_selection;
    bool m_single = false;
    CDrawnNames m_drawnNames;
    unsigned m_gesture = 0;
    int m_systemError = 0; // behind the last failed load or save
    fw::View* m_sender = nullptr;
    bool m_pushing = false;
};
