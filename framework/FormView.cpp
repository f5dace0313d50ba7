#include "FormView.h"

#include <QPainter>

namespace fw {

FormView::FormView(QWidget* parent) : View(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void FormView::TakeFocus()
{
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isEnabled() && child->isVisible() && (child->focusPolicy() & Qt::TabFocus)) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    setFocus(Qt::OtherFocusReason);
}

void FormView::OnInitialUpdate()
{
    UpdateData(false);
    View::OnInitialUpdate();
}

bool FormView::UpdateData(bool saveAndValidate)
{
    const bool outer = !m_exchanging;
    m_exchanging = true;
    DataExchange exchange(saveAndValidate);
    const bool done = DoDataExchange(exchange);
    if (outer)
        m_exchanging = false;
    return done;
}

void FormView::paintEvent(QPaintEvent*)
{
    // A form shows the dialog background behind its children.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

} // namespace fw
