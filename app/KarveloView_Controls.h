// The properties panel: the current control's fields and the list of all controls.
#pragma once

#include "FormView.h"

class CKarveloDoc;

class CKarveloView_Controls : public fw::FormView
{
    Q_OBJECT

public:
    CKarveloView_Controls();
    ~CKarveloView_Controls() override;

    CKarveloDoc* GetDocument() const;
    void OnInitialUpdate() override;
    // Shows the document's current control and refills the list.
    void ShowCurrentControl();
    void FillControlList();
    QSize sizeHint() const override;
};
