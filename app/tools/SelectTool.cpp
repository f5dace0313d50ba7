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

#include <QCoreApplication>
#include <QFontMetrics>
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
    // The union of the selected frames: the mapping keeps the order of coordinates, so the
    // extremes in layout pixels, mapped once, give it. A frame runs from the smaller corner
    // to the larger one less a pixel, and is never empty.
    float lowX = INFINITY, highX = -INFINITY, highLowX = -INFINITY;
    float lowY = INFINITY, highY = -INFINITY, highLowY = -INFINITY;
    for (std::size_t index : doc->Selection().selected) {
        const LayoutControl& c = controls[index];
        if (std::isnan(c.m_x1) || std::isnan(c.m_x2) || std::isnan(c.m_y1) || std::isnan(c.m_y2))
            continue; // no place at all
        lowX = std::min(lowX, std::min(c.m_x1, c.m_x2));
        highX = std::max(highX, std::max(c.m_x1, c.m_x2));
        highLowX = std::max(highLowX, std::min(c.m_x1, c.m_x2));
        lowY = std::min(lowY, std::min(c.m_y1, c.m_y2));
        highY = std::max(highY, std::max(c.m_y1, c.m_y2));
        highLowY = std::max(highLowY, std::min(c.m_y1, c.m_y2));
    }
    if (lowX > highX)
        return {};
    const CanvasMapping& mapping = m_host.Mapping();
    auto near = [](int v) { return std::clamp(v, -FAR_OFF, FAR_OFF); };
    const int left = near(mapping.X(lowX)), top = near(mapping.Y(lowY));
    const int right = std::max(near(mapping.X(highLowX)), near(mapping.X(highX) - 1));
    const int bottom = std::max(near(mapping.Y(highLowY)), near(mapping.Y(highY) - 1));
    const QRect frame(QPoint(left, top), QPoint(right, bottom));
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
    ++m_generation;
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
    m_originalIndices = IndicesOf(m_originals);
    m_originalBounds = BoundsOf(m_originals);
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
    ++m_generation;
    const QPoint device = DevicePoint(event);
    m_pointer = device;
    if (m_state == IDLE) {
        UpdateCursor(device);
        SetMeasuring((event->modifiers() & Qt::AltModifier) != 0);
        if (m_altHeld)
            m_host.OverlayChanged();
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
    ++m_generation;
    // Records changed by someone else (a reload, another window, an undo) make the ones kept
    // from the press stale: the gesture ends where it stands, without writing them back.
    if (m_state == IDLE || change.sender == this ||
        !(change.flags & (LayoutChange::RECORDS | LayoutChange::LIST)))
        return;
    EndGesture();
    m_host.OverlayChanged();
}

void CSelectTool::Move(double dx, double dy)
{
    // Rectangles alone: a drag of a hundred thousand controls copies no names.
    Doc()->Model().ChangeRects(this, m_originalIndices, MovedRects(m_originals, dx, dy),
                               fw::LoadString(resources::IDS_STEP_MOVE), MERGE_MOVE);
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
        Move(delta.x(), delta.y());
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
        m_host.OverlayChanged();
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
    const LayoutBox& box = m_originalBounds;
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
        const LayoutBox& box = m_originalBounds;
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
    ++m_generation;
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
    m_originalIndices.clear();
    EndSnapping();
    // What the gesture showed (the band, the position label) goes with it, also where it
    // changed nothing else: the overlay made during it is not drawn again.
    ++m_generation;
    m_host.OverlayChanged();
}

void CSelectTool::EndSnapping()
{
    const bool shown = m_guideX || m_guideY;
    m_guideX.reset();
    m_guideY.reset();
    m_lines = SnapLines();
    m_linesReady = false;
    if (shown)
        m_host.OverlayChanged();
}

void CSelectTool::Cancel()
{
    CKarveloDoc* doc = Doc();
    // Back to the values of the press: the step of this drag ends where it began and goes.
    if (m_state == MOVING)
        Move(0, 0);
    else if (m_state == RESIZING)
        Change(m_originals, resources::IDS_STEP_RESIZE, MERGE_RESIZE);
    if (m_state != IDLE)
        doc->Model().SetSelection(nullptr, m_pressSelection);
    EndGesture();
    m_host.Widget()->update();
}

void CSelectTool::Deactivate()
{
    ++m_generation;
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
    ++m_generation; // the overlay made before shows the old state
    // Alt is often let go while the keys go to another widget, or outside the window.
    if (alt)
        QCoreApplication::instance()->installEventFilter(&m_altRelease);
    else
        QCoreApplication::instance()->removeEventFilter(&m_altRelease);
    m_host.OverlayChanged();
}

bool CSelectTool::AltRelease::eventFilter(QObject*, QEvent* event)
{
    const bool altUp = event->type() == QEvent::KeyRelease &&
                       static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt &&
                       !static_cast<QKeyEvent*>(event)->isAutoRepeat();
    if (altUp || event->type() == QEvent::ApplicationDeactivate)
        m_tool.SetMeasuring(false);
    return false;
}

void CSelectTool::KeyRelease(QKeyEvent* event)
{
    ++m_generation;
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Alt)
        SetMeasuring(false);
    const int key = event->key();
    if (m_nudging &&
        (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)) {
        m_nudging = false;
        m_host.OverlayChanged();
    }
}

void CSelectTool::FocusLost()
{
    ++m_generation;
    SetMeasuring(false);
    if (m_nudging) {
        m_nudging = false;
        m_host.OverlayChanged();
    }
}

std::vector<Measure> CSelectTool::Measures(const LayoutBox& selection) const
{
    const CKarveloDoc* doc = Doc();
    if (!doc || doc->Selection().selected.empty())
        return {};
    if (m_state == MOVING || m_state == RESIZING || m_nudging) {
        const auto& controls = doc->m_layout.m_controls;
        const auto& selected = doc->Selection().selected;
        // A large selection moved as one leaves the cells to be made again: one pass over
        // the controls costs less then. Otherwise the cells find the neighbours.
        CHitIndex& hits = m_host.Hits();
        if (!hits.Valid() && selected.size() > controls.size() / 32)
            return NearestMeasures(selection, controls, selected);
        std::vector<Measure> measures;
        for (int side : {RIGHT, LEFT, BOTTOM, TOP}) {
            const int nearest = hits.NearestBeside(controls, selection, side, [&](std::size_t i) {
                return doc->Selection().Contains(i);
            });
            if (nearest >= 0)
                measures.push_back(
                    GapTo(selection, BoxOf(controls[static_cast<std::size_t>(nearest)]), side));
        }
        return measures;
    }
    if (!m_altHeld || m_state != IDLE)
        return {};
    // The control under the pointer that is not selected, or else the screen.
    LayoutBox target{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true};
    const int hit = ControlAt(m_pointer, false);
    if (hit >= 0 && !doc->Selection().Contains(static_cast<std::size_t>(hit)))
        target = BoxOf(doc->m_layout.m_controls[static_cast<std::size_t>(hit)]);
    return MeasuresBetween(selection, target);
}

namespace {

QFont measureFont()
{
    QFont font;
    font.setPixelSize(11);
    return font;
}

} // namespace

void CSelectTool::AddMeasures(Overlay& overlay, const std::vector<Measure>& measures) const
{
    const CanvasMapping& mapping = m_host.Mapping();
    const QFontMetrics metrics(measureFont());
    const auto near = [](int v) { return std::clamp(v, -FAR_OFF, FAR_OFF); };
    for (const Measure& m : measures) {
        const int from = m.horizontal ? mapping.X(static_cast<float>(m.from))
                                      : mapping.Y(static_cast<float>(m.from));
        const int to = m.horizontal ? mapping.X(static_cast<float>(m.to))
                                    : mapping.Y(static_cast<float>(m.to));
        const int at = m.horizontal ? mapping.Y(static_cast<float>(m.at))
                                    : mapping.X(static_cast<float>(m.at));
        if (from == INT_MIN || to == INT_MIN || at == INT_MIN)
            continue;
        const int low = near(std::min(from, to)), high = near(std::max(from, to)),
                  across = near(at);
        // The line, with a short bar across each end.
        if (m.horizontal) {
            overlay.fills.push_back(
                {QRect(low, across, std::max(1, high - low), 1), MEASURE_COLOUR});
            overlay.fills.push_back({QRect(low, across - 3, 1, 7), MEASURE_COLOUR});
            overlay.fills.push_back({QRect(high, across - 3, 1, 7), MEASURE_COLOUR});
        } else {
            overlay.fills.push_back(
                {QRect(across, low, 1, std::max(1, high - low)), MEASURE_COLOUR});
            overlay.fills.push_back({QRect(across - 3, low, 7, 1), MEASURE_COLOUR});
            overlay.fills.push_back({QRect(across - 3, high, 7, 1), MEASURE_COLOUR});
        }
        // Its length in layout pixels, whatever the zoom, beside its middle.
        const QString text = fw::FormatFloat(static_cast<float>(m.Length()));
        const int middle = (low + high) / 2;
        QRect box = metrics.boundingRect(text).adjusted(-2, -1, 2, 1);
        box.moveCenter(m.horizontal ? QPoint(middle, across - box.height() / 2 - 2)
                                    : QPoint(across + box.width() / 2 + 4, middle));
        overlay.texts.push_back({box, text, MEASURE_COLOUR, false});
    }
}

void CSelectTool::AddDragLabel(Overlay& overlay, const LayoutBox& box) const
{
    if (m_state != MOVING && m_state != RESIZING)
        return;
    if (!box.valid)
        return;
    const auto number = [](double value) { return fw::FormatFloat(static_cast<float>(value)); };
    const QString text = m_state == MOVING
                             ? QStringLiteral("%1, %2").arg(number(box.left), number(box.top))
                             : QString::fromUtf8("%1 × %2").arg(number(box.right - box.left),
                                                                number(box.bottom - box.top));
    const QFontMetrics metrics(measureFont());
    QRect label = metrics.boundingRect(text).adjusted(-3, -2, 3, 2);
    label.moveTopLeft(m_pointer + QPoint(14, 14));
    overlay.texts.push_back({label, text, QColor(40, 40, 48), true});
}

const CSelectTool::Overlay& CSelectTool::CurrentOverlay() const
{
    // Asked for before a paint (where to repaint), at it and after it (what it drew): made
    // once while nothing changed, since distances look for the neighbours of the selection.
    const QSize size = m_host.Widget()->size();
    if (!m_overlay || m_overlayGeneration != m_generation || m_overlayMapping != m_host.Mapping() ||
        m_overlaySize != size) {
        m_overlay = BuildOverlay();
        m_overlayGeneration = m_generation;
        m_overlayMapping = m_host.Mapping();
        m_overlaySize = size;
    }
    return *m_overlay;
}

void CSelectTool::Activate()
{
    ++m_generation;
}

CSelectTool::Overlay CSelectTool::BuildOverlay() const
{
    Overlay overlay;
    // The lines a drag snaps to, across the screen and the selection, one device pixel wide.
    const CanvasMapping& mapping = m_host.Mapping();
    const CKarveloDoc* doc = Doc();
    // Once for the whole overlay: a pass over the selection.
    const LayoutBox selection = doc && !doc->Selection().selected.empty()
                                    ? actions::SelectionBounds(doc->Model())
                                    : LayoutBox();
    LayoutBox span{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true};
    if (m_guideX || m_guideY)
        span = Joined(span, selection);
    const auto near = [](int v) { return std::clamp(v, -FAR_OFF, FAR_OFF); };
    const int left = near(mapping.X(static_cast<float>(span.left)));
    const int right = near(mapping.X(static_cast<float>(span.right)));
    const int top = near(mapping.Y(static_cast<float>(span.top)));
    const int bottom = near(mapping.Y(static_cast<float>(span.bottom)));
    if (m_guideX)
        overlay.fills.push_back(
            {QRect(mapping.X(static_cast<float>(*m_guideX)), top, 1, bottom - top + 1),
             GUIDE_COLOUR});
    if (m_guideY)
        overlay.fills.push_back(
            {QRect(left, mapping.Y(static_cast<float>(*m_guideY)), right - left + 1, 1),
             GUIDE_COLOUR});
    for (const QRect& rect : HandleRects()) {
        overlay.fills.push_back({rect, HANDLE_FILL});
        overlay.fills.push_back({QRect(rect.left(), rect.top(), rect.width(), 1), HANDLE_EDGE});
        overlay.fills.push_back({QRect(rect.left(), rect.bottom(), rect.width(), 1), HANDLE_EDGE});
        overlay.fills.push_back({QRect(rect.left(), rect.top(), 1, rect.height()), HANDLE_EDGE});
        overlay.fills.push_back({QRect(rect.right(), rect.top(), 1, rect.height()), HANDLE_EDGE});
    }
    if (m_state == BANDING && !m_band.isNull())
        overlay.band = m_band;
    AddMeasures(overlay, Measures(selection));
    AddDragLabel(overlay, selection);
    return overlay;
}

QRegion CSelectTool::Overlay::Region() const
{
    QRegion region;
    for (const Fill& fill : fills)
        region += fill.rect;
    for (const Text& text : texts)
        region += text.box;
    if (!band.isNull()) {
        // The dashed outline alone, side by side.
        region += QRect(band.left(), band.top(), band.width(), 1);
        region += QRect(band.left(), band.bottom(), band.width(), 1);
        region += QRect(band.left(), band.top(), 1, band.height());
        region += QRect(band.right(), band.top(), 1, band.height());
    }
    return region;
}

QRegion CSelectTool::Overlay::Differences(const Overlay& other) const
{
    QRegion region;
    auto missing = [&region](const auto& items, const auto& in, auto bounds) {
        for (const auto& item : items)
            if (std::find(in.begin(), in.end(), item) == in.end())
                region += bounds(item);
    };
    const auto fillRect = [](const Fill& fill) { return fill.rect; };
    const auto textBox = [](const Text& text) { return text.box; };
    missing(fills, other.fills, fillRect);
    missing(other.fills, fills, fillRect);
    missing(texts, other.texts, textBox);
    missing(other.texts, texts, textBox);
    if (band != other.band) {
        Overlay bands;
        bands.band = band;
        region += bands.Region();
        bands.band = other.band;
        region += bands.Region();
    }
    return region;
}

QRegion CSelectTool::OverlayRegion() const
{
    return CurrentOverlay().Region();
}

QRegion CSelectTool::OverlayDamage() const
{
    return CurrentOverlay().Differences(m_painted);
}

void CSelectTool::PaintOverlay(QPainter& painter)
{
    const Overlay& overlay = CurrentOverlay();
    m_painted = overlay;
    for (const Overlay::Fill& fill : overlay.fills)
        painter.fillRect(fill.rect, fill.colour);
    if (!overlay.band.isNull()) {
        QPen pen(BAND_COLOUR, 0, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(overlay.band.adjusted(0, 0, -1, -1));
    }
    if (overlay.texts.empty())
        return;
    painter.save();
    painter.setFont(measureFont());
    for (const Overlay::Text& text : overlay.texts) {
        painter.fillRect(text.box, LABEL_GROUND);
        painter.setPen(text.colour);
        if (text.framed)
            painter.drawRect(text.box.adjusted(0, 0, -1, -1));
        painter.drawText(text.box, Qt::AlignCenter, text.text);
    }
    painter.restore();
}

bool CSelectTool::KeyPress(QKeyEvent* event)
{
    ++m_generation;
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
