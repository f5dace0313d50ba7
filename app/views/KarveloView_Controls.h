// The properties panel: the current control's fields and the list of all controls.
#pragma once

#include "Edit.h"
#include "FormView.h"
#include "ListBox.h"
#include "tstring.h"

#include <cstdint>
#include <map>

class CKarveloDoc;
class QPushButton;

class CKarveloView_Controls : public fw::FormView
{
    Q_OBJECT

public:
    CKarveloView_Controls();
    ~CKarveloView_Controls() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    // Another view changed the layout or the current control.
    void OnUpdate(fw::View* sender, const fw::Hint* hint) override;
    // Enables the form as far as there is a current control, shows its values and refills
    // the list.
    void ShowCurrentControl();
    // One row per control, in list order; no row is selected afterwards.
    void FillControlList();
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

    std::map<int, fw::Edit*> m_edits;
    QPushButton* m_delete = nullptr;
    bool m_filling = false;
};
