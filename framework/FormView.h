// A view whose client is a form of child controls.
#pragma once

#include "View.h"

namespace fw {

class FormView : public View
{
    Q_OBJECT

public:
    explicit FormView(QWidget* parent = nullptr);
    // The first child that takes the focus, or the form itself.
    void TakeFocus() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace fw
