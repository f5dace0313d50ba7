#include "tools/SelectKeys.h"

#include "LayoutPainter.h"
#include "Strings.h"
#include "actions/Editing.h"
#include "actions/Selection.h"
#include "document/KarveloDoc.h"
#include "resources/Resource.h"
#include "tools/CanvasMenu.h"
#include "tools/CanvasTool.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

// How far one axis must pan so that [low, high] shows within [0, size], with margin around
// it where it fits; the low side wins when it does not. 0 for a side without a place.
std::int64_t panFor(int low, int high, int size, int margin)
{
    if (low == INT_MIN || high == INT_MIN || low <= FAR_BEFORE || high >= FAR_AFTER)
        return 0;
    std::int64_t shift = 0;
    if (std::int64_t(high) + margin > size)
        shift = std::int64_t(size) - high - margin;
    if (std::int64_t(low) + shift < margin)
        shift = std::int64_t(margin) - low;
    return shift;
}

} // namespace

bool CSelectKeys::KeyPress(const QKeyEvent* event)
{
    CKarveloDoc* doc = m_host.Doc();
    if (!doc)
        return false;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool plain = modifiers == Qt::NoModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    if ((key == Qt::Key_Tab && plain) || (key == Qt::Key_Backtab && (plain || shift))) {
        actions::SelectNext(doc->Model(), key == Qt::Key_Tab ? 1 : -1);
        ShowCurrent();
        return true;
    }
    if (key == Qt::Key_Insert && plain) {
        actions::InsertNew(doc->Model(), fw::LoadString(resources::IDS_STEP_INSERT));
        ShowCurrent();
        return true;
    }
    if ((key == Qt::Key_Menu && plain) || (key == Qt::Key_F10 && shift)) {
        ShowCurrent();
        ShowCanvasMenu(m_host.Widget(), m_host.Frame(), MenuPosition());
        return true;
    }
    return false;
}

void CSelectKeys::ShowCurrent()
{
    const CKarveloDoc* doc = m_host.Doc();
    if (!doc || !doc->m_currentControl)
        return;
    const LayoutBox box = BoxOf(*doc->m_currentControl);
    if (!box.valid)
        return;
    const CanvasMapping& mapping = m_host.Mapping();
    const QWidget* canvas = m_host.Widget();
    const QSize view = (QSizeF(canvas->size()) * canvas->devicePixelRatioF()).toSize();
    const std::int64_t dx =
        panFor(mapping.X(static_cast<float>(box.left)), mapping.X(static_cast<float>(box.right)),
               view.width(), VIEW_MARGIN);
    const std::int64_t dy =
        panFor(mapping.Y(static_cast<float>(box.top)), mapping.Y(static_cast<float>(box.bottom)),
               view.height(), VIEW_MARGIN);
    // Farther than any canvas could show: the place is not one a pan reaches.
    constexpr std::int64_t FARTHEST = 1 << 24;
    if ((dx || dy) && std::abs(dx) < FARTHEST && std::abs(dy) < FARTHEST)
        m_host.Pan(static_cast<int>(dx), static_cast<int>(dy));
}

QPoint CSelectKeys::MenuPosition() const
{
    const CKarveloDoc* doc = m_host.Doc();
    QWidget* canvas = m_host.Widget();
    const CanvasMapping& mapping = m_host.Mapping();
    LayoutBox box = doc ? actions::SelectionBounds(doc->Model()) : LayoutBox();
    if (!box.valid)
        box = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true};
    const qreal ratio = canvas->devicePixelRatioF();
    const int x = mapping.X(static_cast<float>(box.left));
    const int y = mapping.Y(static_cast<float>(box.bottom));
    const QRect inside = canvas->rect();
    // A corner out of sight (or out of reach) opens the menu at the nearest point in sight.
    const auto logical = [ratio](int device, int low, int high) {
        if (device == INT_MIN)
            return low;
        return std::clamp(static_cast<int>(device / ratio), low, high);
    };
    const QPoint at(logical(x, inside.left(), inside.right()),
                    logical(y, inside.top(), inside.bottom()));
    return canvas->mapToGlobal(at);
}
