#include "tools/SelectTool.h"

#include "CommandIds.h"
#include "DataExchange.h"
#include "LayoutPainter.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "actions/Editing.h"
#include "actions/Selection.h"
#include "commands/LayoutCommand.h"
#include "document/KarveloDoc.h"
#include "geometry/HitIndex.h"
#include "resources/Resource.h"
#include "tools/CanvasMenu.h"
#include "views/EditorSettings.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QColor HANDLE_FILL(255, 255, 255);
const QColor HANDLE_EDGE(40, 40, 48);
const QColor BAND_COLOUR(0, 110, 220);
const QColor GUIDE_COLOUR(0, 200, 220);
// Distances: a colour nothing else on the canvas has.
const QColor MEASURE_COLOUR(200, 0, 160);
const QColor LABEL_GROUND(255, 255, 255);

// Far outside any canvas a handle is never seen; held there, the sums made of a frame's
// corners cannot overflow.
constexpr int FAR_OFF = 1 << 24;

// The device pixels a control's outline spans, as a rectangle that is never empty (a control
// of no width still has a place for its handles); null when a corner has no place at all.
QRect frameOf(const LayoutControl& c, const CanvasMapping& mapping)
{
    const int x1 = mapping.X(c.m_x1), x2 = mapping.X(c.m_x2);
    const int y1 = mapping.Y(c.m_y1), y2 = mapping.Y(c.m_y2);
    if (x1 == INT_MIN || x2 == INT_MIN || y1 == INT_MIN || y2 == INT_MIN)
        return QRect();
    auto near = [](int v) { return std::clamp(v, -FAR_OFF, FAR_OFF); };
    const int left = near(std::min(x1, x2)), top = near(std::min(y1, y2));
    return QRect(QPoint(left, top), QPoint(std::max(left, near(std::max(x1, x2) - 1)),
                                           std::max(top, near(std::max(y1, y2) - 1))));
}

Qt::CursorShape cursorFor(int handle)
{
    switch (handle) {
    case TOP | LEFT:
    case BOTTOM | RIGHT:
        return Qt::SizeFDiagCursor;
    case TOP | RIGHT:
    case BOTTOM | LEFT:
        return Qt::SizeBDiagCursor;
    case LEFT:
    case RIGHT:
        return Qt::SizeHorCursor;
    default:
        return Qt::SizeVerCursor;
    }
}

} // namespace

CSelectTool::CSelectTool(CCanvasHost& host)
    : CCanvasTool(host), m_commands(host, [this] { return Idle(); }), m_keys(host)
{
}

std::vector<QRect> CSelectTool::HandleRects() const
{
    const CKarveloDoc* doc = Doc();
    if (!doc || doc->Selection().selected.empty())
        return {};
    const auto& controls = doc->m_layout.m_controls;
    QRect frame;
    for (std::size_t index : doc->Selection().selected)
        frame |= frameOf(controls[index], m_host.Mapping());
    if (frame.isNull())
        return {};
    const int xs[3] = {frame.left(), (frame.left() + frame.right()) / 2, frame.right()};
    const int ys[3] = {frame.top(), (frame.top() + frame.bottom()) / 2, frame.bottom()};
    const int places[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    std::vector<QRect> rects;
    for (const auto& place : places)
        rects.emplace_back(xs[place[0]] - HANDLE_SIZE / 2, ys[place[1]] - HANDLE_SIZE / 2,
                           HANDLE_SIZE, HANDLE_SIZE);
    return rects;
}

int CSelectTool::HandleAt(QPoint device) const
{
    const std::vector<QRect> rects = HandleRects();
    // The last drawn lies on top: search backwards, with a pixel to spare around each.
    for (std::size_t i = rects.size(); i-- > 0;)
        if (rects[i].adjusted(-1, -1, 1, 1).contains(device))
            return HANDLES[i];
    return NO_HANDLE;
}

int CSelectTool::ControlAt(QPointF device, bool below) const
{
    const CKarveloDoc* doc = Doc();
    const CanvasMapping& mapping = m_host.Mapping();
    const double x = mapping.LayoutX(device.x());
    const double y = mapping.LayoutY(device.y());
    const double tolerance = PICK_TOLERANCE * m_host.Widget()->devicePixelRatioF() / mapping.zoom;
    const auto& controls = doc->m_layout.m_controls;
    CHitIndex& hits = m_host.Hits();
    if (!below)
        return hits.TopmostAt(controls, x, y, tolerance);
    // Alt: the next control beneath the current one at this point, round and round.
    const std::vector<int> under = hits.AllAt(controls, x, y, tolerance);
    if (under.empty())
        return -1;
    const auto at = std::find(under.begin(), under.end(), doc->CurrentIndex());
    if (at == under.end() || at + 1 == under.end())
        return under.front();
    return *(at + 1);
}

void CSelectTool::MousePress(QMouseEvent* event)
{
    if (!Doc())
        return;
    // A release that never arrived (a box took it) ends the gesture that was open.
    if (m_state != IDLE)
        Finish(event->modifiers());
    if (event->button() == Qt::RightButton) {
        // A right click on a control that is not selected picks it first.
        const int hit = ControlAt(DevicePoint(event), false);
        if (hit >= 0 && !Doc()->Selection().Contains(static_cast<std::size_t>(hit)))
            actions::SelectAlone(Doc()->Model(), hit);
        ShowCanvasMenu(m_host.Widget(), m_host.Frame(), event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton)
        Press(DevicePoint(event), event->modifiers());
}

void CSelectTool::Press(QPoint device, Qt::KeyboardModifiers modifiers)
{
    CKarveloDoc* doc = Doc();
    EditModel& model = doc->Model();
    m_press = device;
    m_pressSelection = doc->Selection();
    m_state = PRESSED;
    m_pressedControl = -1;
    // Shift on a handle keeps the ratio; Ctrl and Alt are about picking.
    m_handle = modifiers & (Qt::ControlModifier | Qt::AltModifier) ? NO_HANDLE : HandleAt(device);
    if (m_handle == NO_HANDLE) {
        const int hit = ControlAt(device, (modifiers & Qt::AltModifier) != 0);
        if (hit >= 0) {
            if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) {
                actions::Toggle(model, hit);
                // A control just taken out of the selection is not dragged.
                m_pressedControl =
                    doc->Selection().Contains(static_cast<std::size_t>(hit)) ? hit : INT_MIN;
            } else {
                if ((modifiers & Qt::AltModifier) ||
                    !doc->Selection().Contains(static_cast<std::size_t>(hit)))
                    actions::SelectAlone(model, hit);
                m_pressedControl = hit;
            }
        }
    }
    m_originals = actions::SelectedControls(model);
    m_whole = IsWhole(m_originals);
}

QPointF CSelectTool::LayoutDelta(QPoint device) const
{
    const double zoom = m_host.Mapping().zoom;
    return QPointF(std::round((device.x() - m_press.x()) / zoom),
                   std::round((device.y() - m_press.y()) / zoom));
}

void CSelectTool::MouseMove(QMouseEvent* event)
{
    const QPoint device = DevicePoint(event);
    m_pointer = device;
    if (m_state == IDLE) {
        UpdateCursor(device);
        SetMeasuring((event->modifiers() & Qt::AltModifier) != 0);
        if (m_altHeld)
            m_host.Widget()->update();
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        Finish(event->modifiers());
        UpdateCursor(device);
        return;
    }
    Drag(device, event->modifiers());
}

void CSelectTool::DocumentChanged(const LayoutChange& change)
{
    // Records changed by someone else (a reload, another window, an undo) make the ones kept
    // from the press stale: the gesture ends where it stands, without writing them back.
    if (m_state == IDLE || change.sender == this ||
        !(change.flags & (LayoutChange::RECORDS | LayoutChange::LIST)))
        return;
    EndGesture();
    m_host.Widget()->update();
}

void CSelectTool::Change(IndexedControls values, unsigned step, int mergeId)
{
    // Named as the sender, the tool knows its own steps; every view hears of them.
    Doc()->Model().ChangeControls(this, std::move(values), fw::LoadString(step), mergeId);
}

void CSelectTool::Drag(QPoint device, Qt::KeyboardModifiers modifiers)
{
    CKarveloDoc* doc = Doc();
    if (m_state == PRESSED) {
        // A hand's jitter is still a click; the platform's drag distance (often 10 pixels)
        // would swallow small moves. The move then goes the whole way from the press.
        const QPoint moved = device - m_press;
        if (std::max(std::abs(moved.x()), std::abs(moved.y())) < DRAG_START)
            return;
        if (m_handle != NO_HANDLE)
            m_state = RESIZING;
        else if (m_pressedControl >= 0)
            m_state = MOVING;
        else if (m_pressedControl == -1)
            m_state = BANDING;
        else
            return;
    }
    if ((m_state == MOVING || m_state == RESIZING) && !m_linesReady) {
        m_lines = SnapLines::For(doc->m_layout.m_controls, doc->Selection().selected,
                                 m_host.Settings().ActiveGrid());
        m_linesReady = true;
    }
    QPointF delta = LayoutDelta(device);
    m_guideX.reset();
    m_guideY.reset();
    // Alt: plain moves, no snapping.
    const bool snapping = !(modifiers & Qt::AltModifier);
    switch (m_state) {
    case MOVING:
        if (snapping)
            SnapMove(delta);
        Change(Moved(m_originals, delta.x(), delta.y()), resources::IDS_STEP_MOVE, MERGE_MOVE);
        break;
    case RESIZING:
        if (snapping)
            SnapResize(delta);
        Change(Resized(m_originals, m_handle, delta.x(), delta.y(),
                       (modifiers & Qt::ShiftModifier) != 0),
               resources::IDS_STEP_RESIZE, MERGE_RESIZE);
        break;
    case BANDING:
        m_band = QRect(m_press, device).normalized();
        m_host.Widget()->update();
        break;
    default:
        break;
    }
}

double CSelectTool::SnapTolerance() const
{
    return SNAP_DISTANCE * m_host.Widget()->devicePixelRatioF() / m_host.Mapping().zoom;
}

double CSelectTool::Whole(double delta) const
{
    // Whole controls stay whole: a middle of an odd size lands within half a pixel of its
    // line. Controls with fractions land on it exactly.
    return m_whole ? std::round(delta) : delta;
}

void CSelectTool::SnapMove(QPointF& delta)
{
    // The selection's box snaps left, middle or right, and top, middle or bottom.
    const LayoutBox box = BoundsOf(m_originals);
    const double middleX = (box.left + box.right) / 2, middleY = (box.top + box.bottom) / 2;
    if (auto snap = SnapAxis({box.left + delta.x(), middleX + delta.x(), box.right + delta.x()},
                             m_lines.xs, m_lines.grid, SnapTolerance())) {
        delta.rx() = Whole(delta.x() + snap->shift);
        m_guideX = snap->line;
    }
    if (auto snap = SnapAxis({box.top + delta.y(), middleY + delta.y(), box.bottom + delta.y()},
                             m_lines.ys, m_lines.grid, SnapTolerance())) {
        delta.ry() = Whole(delta.y() + snap->shift);
        m_guideY = snap->line;
    }
}

void CSelectTool::SnapResize(QPointF& delta)
{
    // Only the sides the handle pulls snap.
    double x = 0, y = 0;
    if (m_originals.size() == 1) {
        x = PulledX(m_originals.front().second, m_handle);
        y = PulledY(m_originals.front().second, m_handle);
    } else {
        const LayoutBox box = BoundsOf(m_originals);
        x = m_handle & LEFT ? box.left : box.right;
        y = m_handle & TOP ? box.top : box.bottom;
    }
    if (m_handle & (LEFT | RIGHT))
        if (auto snap = SnapAxis({x + delta.x()}, m_lines.xs, m_lines.grid, SnapTolerance())) {
            delta.setX(Whole(snap->line - x));
            m_guideX = snap->line;
        }
    if (m_handle & (TOP | BOTTOM))
        if (auto snap = SnapAxis({y + delta.y()}, m_lines.ys, m_lines.grid, SnapTolerance())) {
            delta.setY(Whole(snap->line - y));
            m_guideY = snap->line;
        }
}

void CSelectTool::MouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_state == PRESSED)
        Click(event->modifiers());
    else if (m_state == BANDING)
        Drag(DevicePoint(event), event->modifiers());
    Finish(event->modifiers());
    UpdateCursor(DevicePoint(event));
}

void CSelectTool::Click(Qt::KeyboardModifiers modifiers)
{
    const bool adding = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    if (m_pressedControl == -1 && m_handle == NO_HANDLE && !adding)
        actions::SelectNone(Doc()->Model());
    else if (m_pressedControl >= 0 && !adding && !(modifiers & Qt::AltModifier))
        actions::SelectAlone(Doc()->Model(), m_pressedControl);
}

void CSelectTool::Finish(Qt::KeyboardModifiers modifiers)
{
    if (m_state == BANDING) {
        CKarveloDoc* doc = Doc();
        const CanvasMapping& mapping = m_host.Mapping();
        const double left = mapping.LayoutX(m_band.left()), right = mapping.LayoutX(m_band.right());
        const double top = mapping.LayoutY(m_band.top()), bottom = mapping.LayoutY(m_band.bottom());
        SelectionState selection;
        if (modifiers & Qt::ShiftModifier)
            selection = m_pressSelection;
        const auto& controls = doc->m_layout.m_controls;
        int picked = -1;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const LayoutControl& c = controls[i];
            // Touching is enough: the band and the control's rectangle share a point.
            const bool touches = std::max<double>(c.m_x1, c.m_x2) >= left &&
                                 std::min<double>(c.m_x1, c.m_x2) <= right &&
                                 std::max<double>(c.m_y1, c.m_y2) >= top &&
                                 std::min<double>(c.m_y1, c.m_y2) <= bottom;
            if (touches && !selection.Contains(i)) {
                selection.selected.push_back(i);
                picked = static_cast<int>(i);
            }
        }
        std::sort(selection.selected.begin(), selection.selected.end());
        if (picked >= 0)
            selection.current = picked;
        doc->Model().SetSelection(nullptr, std::move(selection));
        m_host.Widget()->update();
    }
    EndGesture();
}

void CSelectTool::EndGesture()
{
    m_band = QRect();
    m_state = IDLE;
    m_originals.clear();
    EndSnapping();
}

void CSelectTool::EndSnapping()
{
    const bool shown = m_guideX || m_guideY;
    m_guideX.reset();
    m_guideY.reset();
    m_lines = SnapLines();
    m_linesReady = false;
    if (shown)
        m_host.Widget()->update();
}

void CSelectTool::Cancel()
{
    CKarveloDoc* doc = Doc();
    if (m_state == MOVING || m_state == RESIZING) {
        // Back to the values of the press: the step of this drag ends where it began and goes.
        const bool moving = m_state == MOVING;
        Change(m_originals, moving ? resources::IDS_STEP_MOVE : resources::IDS_STEP_RESIZE,
               moving ? MERGE_MOVE : MERGE_RESIZE);
    }
    if (m_state != IDLE)
        doc->Model().SetSelection(nullptr, m_pressSelection);
    EndGesture();
    m_host.Widget()->update();
}

void CSelectTool::Deactivate()
{
    if (Doc() && m_state != IDLE)
        Cancel();
    m_host.Widget()->unsetCursor();
}

void CSelectTool::UpdateCursor(QPoint device)
{
    const CKarveloDoc* doc = Doc();
    if (!doc)
        return;
    QWidget* canvas = m_host.Widget();
    if (const int handle = HandleAt(device)) {
        canvas->setCursor(cursorFor(handle));
        return;
    }
    const int hit = ControlAt(device, false);
    if (hit >= 0 && doc->Selection().Contains(static_cast<std::size_t>(hit)))
        canvas->setCursor(Qt::SizeAllCursor);
    else
        canvas->unsetCursor();
}

void CSelectTool::SetMeasuring(bool alt)
{
    if (alt == m_altHeld)
        return;
    m_altHeld = alt;
    m_host.Widget()->update();
}

void CSelectTool::KeyRelease(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Alt)
        SetMeasuring(false);
    const int key = event->key();
    if (m_nudging &&
        (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)) {
        m_nudging = false;
        m_host.Widget()->update();
    }
}

void CSelectTool::FocusLost()
{
    SetMeasuring(false);
    if (m_nudging) {
        m_nudging = false;
        m_host.Widget()->update();
    }
}

std::vector<Measure> CSelectTool::Measures() const
{
    const CKarveloDoc* doc = Doc();
    if (!doc || doc->Selection().selected.empty())
        return {};
    const LayoutBox selection = actions::SelectionBounds(doc->Model());
    if (m_state == MOVING || m_state == RESIZING || m_nudging)
        return NearestMeasures(selection, doc->m_layout.m_controls, doc->Selection().selected);
    if (!m_altHeld || m_state != IDLE)
        return {};
    // The control under the pointer that is not selected, or else the screen.
    LayoutBox target{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true};
    const int hit = ControlAt(m_pointer, false);
    if (hit >= 0 && !doc->Selection().Contains(static_cast<std::size_t>(hit)))
        target = BoxOf(doc->m_layout.m_controls[static_cast<std::size_t>(hit)]);
    return MeasuresBetween(selection, target);
}

void CSelectTool::PaintMeasures(QPainter& painter, const std::vector<Measure>& measures) const
{
    const CanvasMapping& mapping = m_host.Mapping();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const Measure& m : measures) {
        const int from = m.horizontal ? mapping.X(static_cast<float>(m.from))
                                      : mapping.Y(static_cast<float>(m.from));
        const int to = m.horizontal ? mapping.X(static_cast<float>(m.to))
                                    : mapping.Y(static_cast<float>(m.to));
        const int at = m.horizontal ? mapping.Y(static_cast<float>(m.at))
                                    : mapping.X(static_cast<float>(m.at));
        if (from == INT_MIN || to == INT_MIN || at == INT_MIN)
            continue;
        const auto near = [](int v) { return std::clamp(v, -FAR_OFF, FAR_OFF); };
        const int low = near(std::min(from, to)), high = near(std::max(from, to)),
                  across = near(at);
        // The line, with a short bar across each end.
        if (m.horizontal) {
            painter.fillRect(QRect(low, across, std::max(1, high - low), 1), MEASURE_COLOUR);
            painter.fillRect(QRect(low, across - 3, 1, 7), MEASURE_COLOUR);
            painter.fillRect(QRect(high, across - 3, 1, 7), MEASURE_COLOUR);
        } else {
            painter.fillRect(QRect(across, low, 1, std::max(1, high - low)), MEASURE_COLOUR);
            painter.fillRect(QRect(across - 3, low, 7, 1), MEASURE_COLOUR);
            painter.fillRect(QRect(across - 3, high, 7, 1), MEASURE_COLOUR);
        }
        // Its length in layout pixels, whatever the zoom, beside its middle.
        const QString text = fw::FormatFloat(static_cast<float>(m.Length()));
        const int middle = (low + high) / 2;
        QRect box = metrics.boundingRect(text).adjusted(-2, -1, 2, 1);
        box.moveCenter(m.horizontal ? QPoint(middle, across - box.height() / 2 - 2)
                                    : QPoint(across + box.width() / 2 + 4, middle));
        painter.fillRect(box, LABEL_GROUND);
        painter.setPen(MEASURE_COLOUR);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void CSelectTool::PaintDragLabel(QPainter& painter) const
{
    const CKarveloDoc* doc = Doc();
    if (!doc || (m_state != MOVING && m_state != RESIZING))
        return;
    const LayoutBox box = actions::SelectionBounds(doc->Model());
    if (!box.valid)
        return;
    const auto number = [](double value) { return fw::FormatFloat(static_cast<float>(value)); };
    const QString text = m_state == MOVING
                             ? QStringLiteral("%1, %2").arg(number(box.left), number(box.top))
                             : QString::fromUtf8("%1 × %2").arg(number(box.right - box.left),
                                                                number(box.bottom - box.top));
    const QFontMetrics metrics(painter.font());
    QRect label = metrics.boundingRect(text).adjusted(-3, -2, 3, 2);
    label.moveTopLeft(m_pointer + QPoint(14, 14));
    painter.fillRect(label, LABEL_GROUND);
    painter.setPen(QColor(40, 40, 48));
    painter.drawRect(label.adjusted(0, 0, -1, -1));
    painter.drawText(label, Qt::AlignCenter, text);
}

void CSelectTool::PaintOverlay(QPainter& painter)
{
    // The lines a drag snaps to, across the whole canvas, one device pixel wide.
    const QRect all = painter.viewport();
    if (m_guideX)
        painter.fillRect(
            QRect(m_host.Mapping().X(static_cast<float>(*m_guideX)), all.top(), 1, all.height()),
            GUIDE_COLOUR);
    if (m_guideY)
        painter.fillRect(
            QRect(all.left(), m_host.Mapping().Y(static_cast<float>(*m_guideY)), all.width(), 1),
            GUIDE_COLOUR);
    for (const QRect& rect : HandleRects()) {
        painter.fillRect(rect, HANDLE_FILL);
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), HANDLE_EDGE);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), HANDLE_EDGE);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), HANDLE_EDGE);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), HANDLE_EDGE);
    }
    if (m_state == BANDING && !m_band.isNull()) {
        QPen pen(BAND_COLOUR, 0, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_band.adjusted(0, 0, -1, -1));
    }
    const std::vector<Measure> measures = Measures();
    if (!measures.empty() || m_state == MOVING || m_state == RESIZING) {
        painter.save();
        PaintMeasures(painter, measures);
        PaintDragLabel(painter);
        painter.restore();
    }
}

bool CSelectTool::KeyPress(QKeyEvent* event)
{
    CKarveloDoc* doc = Doc();
    if (!doc)
        return false;
    EditModel& model = doc->Model();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_Alt) {
        SetMeasuring(true);
        return false;
    }
    if (key == Qt::Key_Escape) {
        if (m_state != IDLE)
            Cancel();
        else
            actions::SelectNone(model);
        return true;
    }
    if (m_state != IDLE)
        return false;
    if (m_keys.KeyPress(event))
        return true;
    if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && modifiers == Qt::NoModifier) {
        actions::DeleteSelection(model, fw::LoadString(resources::IDS_STEP_DELETE));
        return true;
    }
    if (key == Qt::Key_A && modifiers == Qt::ControlModifier) {
        actions::SelectAll(model);
        return true;
    }
    if (key == Qt::Key_D && modifiers == Qt::ControlModifier) {
        Run(resources::ID_EDIT_DUPLICATE);
        return true;
    }
    if (modifiers == Qt::NoModifier) {
        const std::pair<int, fw::CommandId> orderKeys[] = {
            {Qt::Key_PageUp, resources::ID_ORDER_RAISE},
            {Qt::Key_PageDown, resources::ID_ORDER_LOWER},
            {Qt::Key_Home, resources::ID_ORDER_TO_TOP},
            {Qt::Key_End, resources::ID_ORDER_TO_BOTTOM},
        };
        for (const auto& [orderKey, id] : orderKeys) {
            if (key == orderKey) {
                Run(id);
                return true;
            }
        }
    }
    if ((key == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        doc->UndoStack()->redo();
        return true;
    }
    // Arrows move the selection; with Ctrl they move its right or bottom edge.
    if (!(modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier))) {
        const float step = modifiers & Qt::ShiftModifier ? 10.0f : 1.0f;
        float dx = 0, dy = 0;
        switch (key) {
        case Qt::Key_Left:
            dx = -step;
            break;
        case Qt::Key_Right:
            dx = step;
            break;
        case Qt::Key_Up:
            dy = -step;
            break;
        case Qt::Key_Down:
            dy = step;
            break;
        default:
            return false;
        }
        if (modifiers & Qt::ControlModifier)
            actions::Grow(model, dx, dy, event->isAutoRepeat(),
                          fw::LoadString(resources::IDS_STEP_RESIZE));
        else
            actions::Nudge(model, dx, dy, event->isAutoRepeat(),
                           fw::LoadString(resources::IDS_STEP_MOVE));
        m_nudging = true;
        return true;
    }
    return false;
}

void CSelectTool::Run(fw::CommandId id)
{
    if (fw::MdiFrame* frame = m_host.Frame())
        frame->ExecuteCommand(id);
}

bool CSelectTool::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    return m_commands.OnCmdMsg(id, state);
}
