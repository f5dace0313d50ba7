// A view whose client is a form of child controls.
#pragma once

#include "DataExchange.h"
#include "View.h"

class QScrollArea;

namespace fw {

class FormView : public View
{
    Q_OBJECT

public:
    explicit FormView(QWidget* parent = nullptr);
    // The first child in tab order that takes the focus, or the form itself.
    void TakeFocus() override;
    // Puts the form into a scroll area for its pane: a pane shorter than formHeight scrolls.
    QScrollArea* WrapInScrollArea(int formHeight);
    // Transfers the fields into the edits first.
    void OnInitialUpdate() override;

    // true: from the edits into the fields, stopping at the first text that cannot be read
    // (then false); false: from the fields into the edits.
    bool UpdateData(bool saveAndValidate = true);
    // While an exchange runs, the form ignores the change notifications of its own children.
    bool InExchange() const { return m_exchanging; }

protected:
    virtual bool DoDataExchange(DataExchange&) { return true; }
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_exchanging = false;
};

} // namespace fw
