// One open layout: its controls, the current one, the record being drawn, and its views.
// The document adapts the edit model (EditModel.h), the one writer of the layout, to the
// framework's document: every change is a step on the document's undo stack, and afterwards
// every view of the document hears what changed.
#pragma once

#include "Document.h"
#include "EditModel.h"
#include "LayoutDataObject.h"
#include "document/ArrangeCommands.h"

#include <QPointer>

#include <memory>
#include <vector>

class CDocRecovery;
class CExternalChange;
class CKarveloView;
class CKarveloView_Controls;

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

    // Every change of the layout and its selection goes through the model; the views of the
    // document hear of each one, all but the view that names itself as the sender.
    EditModel& Model() { return m_model; }
    const EditModel& Model() const { return m_model; }
    int CurrentIndex() const { return m_model.CurrentIndex(); }
    const SelectionState& Selection() const { return m_model.Selection(); }

    // A view of kind V is going: slot (m_panel or m_canvas) moves to the same kind of view in
    // another window of the document, or becomes null when none is left.
    template <class V> void ReleaseView(QPointer<V>& slot, const V* closing)
    {
        if (slot != closing)
            return;
        slot = nullptr;
        for (fw::View* view : GetViews())
            if (auto* other = qobject_cast<V*>(view); other && other != closing && !slot)
                slot = other;
    }

    // Crash recovery and the file on disk (DocRecovery.h, ExternalChange.h). The application
    // gives a document its copy keeper; without one, no copy is written.
    void SetRecovery(std::unique_ptr<CDocRecovery> recovery);
    CDocRecovery* Recovery() const { return m_recovery.get(); }
    CExternalChange* External() const { return m_external.get(); }
    // A copy recovered after a crash becomes the document's content: modified, under the
    // original path so that Save writes there, or untitled under its old title.
    void TakeRecovered(std::vector<LayoutControl> records, const QString& path,
                       const QString& title, const fw::FileStamp& recorded);

    // The views of the window opened last; never a view that has been destroyed (a closing
    // view hands its place to a view of the same kind in another window).
    QPointer<CKarveloView_Controls> m_panel;
    QPointer<CKarveloView> m_canvas;
    // Read by the views; written only through the model.
    LayoutDataObject m_layout;
    // Points into m_layout.m_controls at the current control, or is null.
    const LayoutControl* m_currentControl = nullptr;
    // The staging record of a drag on the canvas.
    LayoutControl m_newControl;

private:
    // The file and the cause of a failed load or save, for the box and the trace.
    QString FailureDetails(const QString& path, HRESULT hr, bool loading) const;
    // The layout changed as change says: the current control, then every view but sender.
    void Changed(const LayoutChange& change, const void* sender);
    void StartAfresh(int current);
    void OnLayoutUndo();
    void OnEditRedo();
    void OnUpdateLayoutUndo(fw::CommandState& state);
    void OnUpdateEditRedo(fw::CommandState& state);

    EditModel m_model{m_layout, *UndoStack()};
    CArrangeCommands m_arrange{m_model};
    std::unique_ptr<CExternalChange> m_external;
    std::unique_ptr<CDocRecovery> m_recovery;
    int m_systemError = 0; // behind the last failed load or save
};
