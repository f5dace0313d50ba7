#include "shell/FocusCycle.h"

#include "CommandIds.h"
#include "Edit.h"
#include "MdiChild.h"
#include "views/KarveloView.h"
#include "views/KarveloView_Controls.h"

#include <QApplication>
#include <QKeyEvent>

CFocusCycle::CFocusCycle(fw::MdiChild& frame, CKarveloView_Controls& panel, CKarveloView& canvas)
    : QObject(&frame), m_frame(frame), m_panel(&panel), m_canvas(&canvas)
{
    for (fw::Edit* edit : panel.findChildren<fw::Edit*>())
        edit->installEventFilter(this);
    panel.m_listControls->installEventFilter(this);
}

bool CFocusCycle::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CFocusCycle> table = {
        {fw::ID_NEXT_PANE, &CFocusCycle::OnNextPane},
        {fw::ID_PREV_PANE, &CFocusCycle::OnPrevPane},
    };
    return m_panel && m_canvas && table.Dispatch(this, id, state);
}

CFocusCycle::Stop CFocusCycle::Current() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == m_canvas || m_canvas->isAncestorOf(focus)))
        return CANVAS;
    if (focus && focus == m_panel->m_listControls)
        return LIST;
    if (focus && (focus == m_panel || m_panel->isAncestorOf(focus)))
        return FIELDS;
    return m_frame.GetActiveView() == m_canvas ? CANVAS : FIELDS;
}

void CFocusCycle::Move(int step)
{
    // The stops to try, the first that takes the focus wins.
    const Stop intoPanel[] = {step > 0 ? FIELDS : LIST, step > 0 ? LIST : FIELDS};
    const Stop fromPanel[] = {CANVAS, Current() == FIELDS ? LIST : FIELDS};
    for (Stop stop : Current() == CANVAS ? intoPanel : fromPanel)
        if (Enter(stop))
            return;
}

bool CFocusCycle::Reachable(const QWidget* widget) const
{
    return widget && widget->isEnabled() && widget->isVisibleTo(&m_frame) &&
           widget->focusPolicy() != Qt::NoFocus;
}

QWidget* CFocusCycle::Field() const
{
    // In tab order: a keyboard user always lands on the same field.
    for (QWidget* w = m_panel->nextInFocusChain(); w && w != m_panel; w = w->nextInFocusChain())
        if (qobject_cast<fw::Edit*>(w) && w->parentWidget() == m_panel && Reachable(w))
            return w;
    return nullptr;
}

bool CFocusCycle::Enter(Stop stop)
{
    QWidget* target = nullptr;
    switch (stop) {
    case CANVAS:
        target = Reachable(m_canvas) ? m_canvas.data() : nullptr;
        break;
    case FIELDS:
        target = Field();
        // No field takes the focus (nothing is current): the panel itself does, as a pane.
        if (!target && Reachable(m_panel)) {
            m_frame.SetActiveView(m_panel);
            return true;
        }
        break;
    case LIST:
        target = Reachable(m_panel->m_listControls) ? m_panel->m_listControls : nullptr;
        break;
    case STOPS:
        break;
    }
    if (!target)
        return false;
    m_frame.SetActiveView(stop == CANVAS ? static_cast<fw::View*>(m_canvas.data()) : m_panel.data(),
                          false);
    // As the Tab key would: a field's text is selected, ready to be typed over.
    target->setFocus(Qt::TabFocusReason);
    return true;
}

bool CFocusCycle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && Enter(CANVAS))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
