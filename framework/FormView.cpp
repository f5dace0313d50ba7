#include "FormView.h"

#include <QApplication>
#include <QPainter>
#include <QScrollArea>

namespace fw {

FormView::FormView(QWidget* parent) : View(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void FormView::TakeFocus()
{
    // The tab order, not the stacking order: raising a child must not change the first one.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->parentWidget() == this && w->isEnabled() && w->isVisible() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    setFocus(Qt::OtherFocusReason);
}

namespace {

// Asks for the room the whole form needs; Qt's scroll area would cap its wish at a few lines.
class FormScrollArea : public QScrollArea
{
public:
    QSize sizeHint() const override
    {
        const QSize form = widget() ? widget()->sizeHint() : QSize();
        const int frame = 2 * frameWidth();
        return form + QSize(frame, frame);
    }
};

} // namespace

QScrollArea* FormView::WrapInScrollArea(int formHeight)
{
    auto* area = new FormScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The form keeps the pane's width and at least its own height.
    setMinimumHeight(formHeight);
    area->setWidgetResizable(true);
    area->setWidget(this);
    // A field that takes the focus (by a message, say) scrolls into sight.
    connect(qApp, &QApplication::focusChanged, area, [this, area](QWidget*, QWidget* now) {
        if (now && isAncestorOf(now))
            area->ensureWidgetVisible(now);
    });
    return area;
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
