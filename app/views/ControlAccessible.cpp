#include "views/ControlAccessible.h"

#include "DataExchange.h"
#include "LayoutPainter.h"
#include "Strings.h"
#include "document/KarveloDoc.h"
#include "geometry/Transform.h"
#include "resources/Resource.h"
#include "views/KarveloView.h"

#include <QWindow>

#include <algorithm>

CControlAccessible::CControlAccessible(CKarveloView* canvas, int index)
    : m_canvas(canvas), m_index(index)
{
}

bool CControlAccessible::isValid() const
{
    return m_canvas && m_canvas->GetDocument();
}

QWindow* CControlAccessible::window() const
{
    return m_canvas ? m_canvas->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CControlAccessible::parent() const
{
    return m_canvas ? QAccessible::queryAccessibleInterface(m_canvas.data()) : nullptr;
}

const LayoutControl* CControlAccessible::Record() const
{
    const CKarveloDoc* doc = m_canvas ? m_canvas->GetDocument() : nullptr;
    if (!doc || m_index < 0 || static_cast<std::size_t>(m_index) >= doc->m_layout.m_controls.size())
        return nullptr;
    return &doc->m_layout.m_controls[static_cast<std::size_t>(m_index)];
}

QString CControlAccessible::text(QAccessible::Text t) const
{
    const LayoutControl* c = Record();
    if (!c)
        return QString();
    if (t == QAccessible::Name)
        return fw::FromBytes(c->m_name);
    if (t == QAccessible::Description)
        return fw::LoadString(resources::IDS_CONTROL_DESCRIPTION)
            .arg(fw::FormatUnsigned(c->m_id), fw::FormatFloat(c->m_x1), fw::FormatFloat(c->m_y1),
                 fw::FormatFloat(c->m_x2), fw::FormatFloat(c->m_y2));
    return QString();
}

QRect CControlAccessible::rect() const
{
    const LayoutControl* c = Record();
    const LayoutBox box = c ? BoxOf(*c) : LayoutBox();
    if (!box.valid)
        return QRect();
    const CanvasMapping& mapping = m_canvas->Mapping();
    const qreal ratio = m_canvas->devicePixelRatioF();
    // A corner far outside the canvas lands far outside it on the screen too.
    const auto local = [ratio](int device) {
        return static_cast<int>(std::clamp(device / ratio, -1e6, 1e6));
    };
    const QPoint topLeft(local(mapping.X(static_cast<float>(box.left))),
                         local(mapping.Y(static_cast<float>(box.top))));
    const QPoint bottomRight(local(mapping.X(static_cast<float>(box.right))),
                             local(mapping.Y(static_cast<float>(box.bottom))));
    return QRect(m_canvas->mapToGlobal(topLeft), QSize(std::max(1, bottomRight.x() - topLeft.x()),
                                                       std::max(1, bottomRight.y() - topLeft.y())));
}

QAccessible::State CControlAccessible::state() const
{
    QAccessible::State state;
    const CKarveloDoc* doc = m_canvas ? m_canvas->GetDocument() : nullptr;
    if (!doc || !Record()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.movable = true;
    state.sizeable = true;
    state.selected = doc->Selection().Contains(static_cast<std::size_t>(m_index));
    state.focused = doc->CurrentIndex() == m_index && m_canvas->hasFocus();
    const QRect visible(m_canvas->mapToGlobal(QPoint(0, 0)), m_canvas->size());
    state.offscreen = !rect().intersects(visible);
    return state;
}
