// The properties panel: the current control's fields and the list of all controls.
#pragma once

#include "Edit.h"
#include "FormView.h"
#include "ListBox.h"
#include "tstring.h"

#include <cstdint>
#include <map>

class CEditorSettings;
struct LayoutChange;
class CKarveloDoc;
class QPushButton;

class CKarveloView_Controls : public fw::FormView
{
    Q_OBJECT

public:
    explicit CKarveloView_Controls(CEditorSettings& settings);
    ~CKarveloView_Controls() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    // Another view changed the layout or the current control.
    void OnUpdate(fw::View* sender, const fw::Hint* hint) override;
    // Enables the form as far as there is a current control, shows its values and refills
    // the list.
    void ShowCurrentControl();
    // One row per control, in list order (while the search field holds a query, per control
    // that matches it); no row is selected afterwards.
    void FillControlList();
    // The rows the list shows now: all controls, or those that match the query.
    int ShownRows() const;
    // The control of a row of the list, and the row of a control (-1: not shown).
    int ControlOfRow(int row) const;
    int RowOfControl(int index) const;
    QSize sizeHint() const override;

    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    // Letters, digits and underscores, not starting with a digit; never empty.
    static bool IsValidIdentifier(tstring name);
    // Whether widget is the framework's one-line edit.
    static bool IsEditControl(const QWidget* widget);

    fw::ListBox* m_listControls = nullptr;
    float m_fX1 = 0.0f;
    float m_fY1 = 0.0f;
    float m_fWidth = 0.0f;
    float m_fHeight = 0.0f;
    tstring m_strName;
    std::uint32_t m_dwId = 0;
    std::uint32_t m_dwGuiResourceId = 0;
    std::uint32_t m_dwTextId = 0;

signals:
    // The rows the list shows came or went (a query, or a change of the layout).
    void rowsChanged();

protected:
    bool DoDataExchange(fw::DataExchange& exchange) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    fw::Edit* Edit(int id) const { return m_edits.at(id); }
    fw::Edit* AddEdit(int id, const QRect& place, fw::Edit::Typing typing = fw::Edit::AnyText);
    void CopyCurrentIntoFields();
    // The current control's row shows in bold and in sight; it is not selected.
    void MarkCurrentRow();
    // Enables the fields and shows the current control's values, or with several controls
    // selected the values they share.
    void ShowFields();
    bool Several() const;
    // Whether change touched a selected control.
    bool TouchesSelection(const LayoutChange& change) const;
    void CopySharedIntoFields();
    // A field changed while several controls are selected: all of them take its value.
    void OnSharedEditChange(int id);
    void EnableFields(bool enabled);
    void OnEditChange(int id);
    void OnNameChange();
    void OnSelectionChange();
    void OnDelete();

    fw::Edit* FocusedEdit() const;
    void OnUpdateEditCopyCut(fw::CommandState& state);
    void OnUpdateEditPaste(fw::CommandState& state);
    void OnUpdateEditUndo(fw::CommandState& state);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();

    // Follows the query: which controls the list shows, ascending.
    void Refilter();
    // The filter after records changed at indices: false when the rows must be made anew.
    bool FollowChangedRecords(const std::vector<std::size_t>& indices);

    CEditorSettings& m_settings;
    std::vector<std::size_t> m_rows; // while filtering: the controls shown, ascending
    std::map<int, fw::Edit*> m_edits;
    QPushButton* m_delete = nullptr;
    bool m_filling = false;
    bool m_showing = false; // the program fills the edits
};
