#include "views/CanvasAccessible.h"

#include "LayoutChange.h"
#include "Strings.h"
#include "actions/Selection.h"
#include "document/KarveloDoc.h"
#include "geometry/HitIndex.h"
#include "resources/Resource.h"
#include "views/ControlAccessible.h"
#include "views/KarveloView.h"

#include <QEvent>
#include <QHash>

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

namespace {

// The canvases whose interface a reader has asked for, so that a change of a layout nobody
// reads costs one look-up.
QHash<const QObject*, CCanvasAccessible*>& live()
{
    static QHash<const QObject*, CCanvasAccessible*> all;
    return all;
}

// Hears the canvas take the focus.
class FocusWatch : public QObject
{
public:
    FocusWatch(QWidget* canvas, std::function<void()> focusIn)
        : QObject(canvas), m_focusIn(std::move(focusIn))
    {
        canvas->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            m_focusIn();
        return false;
    }

private:
    std::function<void()> m_focusIn;
};

} // namespace

CCanvasAccessible::CCanvasAccessible(CKarveloView* canvas)
    : QAccessibleWidget(canvas, QAccessible::Canvas)
{
    live().insert(canvas, this);
    m_count = childCount();
    const CKarveloDoc* doc = Document();
    m_current = doc ? doc->CurrentIndex() : -1;
    m_focusWatch = new FocusWatch(canvas, [this] { OnFocusIn(); });
}

CCanvasAccessible::~CCanvasAccessible()
{
    for (auto at = live().begin(); at != live().end();) {
        if (at.value() == this)
            at = live().erase(at);
        else
            ++at;
    }
    delete m_focusWatch.data();
    DropChildren(0, false);
}

QAccessibleInterface* CCanvasAccessible::Factory(const QString& className, QObject* object)
{
    if (className != QLatin1String("CKarveloView"))
        return nullptr;
    auto* canvas = qobject_cast<CKarveloView*>(object);
    return canvas ? new CCanvasAccessible(canvas) : nullptr;
}

CKarveloView* CCanvasAccessible::Canvas() const
{
    return static_cast<CKarveloView*>(widget());
}

CKarveloDoc* CCanvasAccessible::Document() const
{
    const CKarveloView* canvas = Canvas();
    return canvas ? canvas->GetDocument() : nullptr;
}

int CCanvasAccessible::childCount() const
{
    const CKarveloDoc* doc = Document();
    if (!doc)
        return 0;
    return static_cast<int>(std::min<std::size_t>(doc->m_layout.m_controls.size(), INT_MAX));
}

QAccessibleInterface* CCanvasAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto found = m_children.find(index);
    if (found != m_children.end())
        if (QAccessibleInterface* made = QAccessible::accessibleInterface(found->second))
            return made;
    auto* made = new CControlAccessible(Canvas(), index);
    m_children[index] = QAccessible::registerAccessibleInterface(made);
    return made;
}

int CCanvasAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* control = dynamic_cast<const CControlAccessible*>(child);
    if (!control || control->Canvas() != Canvas() || control->Index() >= childCount())
        return -1;
    return control->Index();
}

QAccessibleInterface* CCanvasAccessible::childAt(int x, int y) const
{
    CKarveloView* canvas = Canvas();
    CKarveloDoc* doc = Document();
    if (!canvas || !doc)
        return nullptr;
    const QPoint local = canvas->mapFromGlobal(QPoint(x, y));
    if (!canvas->rect().contains(local))
        return nullptr;
    const qreal ratio = canvas->devicePixelRatioF();
    const CanvasMapping& mapping = canvas->Mapping();
    const int hit =
        canvas->Hits().TopmostAt(doc->m_layout.m_controls, mapping.LayoutX(local.x() * ratio),
                                 mapping.LayoutY(local.y() * ratio), ratio / mapping.zoom);
    return hit >= 0 ? child(hit) : nullptr;
}

QAccessibleInterface* CCanvasAccessible::focusChild() const
{
    const CKarveloView* canvas = Canvas();
    const CKarveloDoc* doc = Document();
    if (!canvas || !doc || !canvas->hasFocus())
        return nullptr;
    return child(doc->CurrentIndex());
}

QString CCanvasAccessible::text(QAccessible::Text t) const
{
    const CKarveloView* canvas = Canvas();
    if (t == QAccessible::Name && canvas && canvas->accessibleName().isEmpty())
        return fw::LoadString(resources::IDS_CANVAS_NAME);
    if (t == QAccessible::Description && canvas && canvas->accessibleDescription().isEmpty())
        return fw::LoadString(resources::IDS_CANVAS_DESCRIPTION).arg(childCount());
    return QAccessibleWidget::text(t);
}

void* CCanvasAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* CCanvasAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

int CCanvasAccessible::selectedRowCount() const
{
    const CKarveloDoc* doc = Document();
    return doc ? static_cast<int>(std::min<std::size_t>(doc->Selection().selected.size(), INT_MAX))
               : 0;
}

QList<int> CCanvasAccessible::selectedRows() const
{
    QList<int> rows;
    if (const CKarveloDoc* doc = Document())
        for (std::size_t index : doc->Selection().selected)
            rows.append(static_cast<int>(index));
    return rows;
}

QList<QAccessibleInterface*> CCanvasAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
        cells.append(child(row));
    return cells;
}

bool CCanvasAccessible::isRowSelected(int row) const
{
    const CKarveloDoc* doc = Document();
    return doc && row >= 0 && doc->Selection().Contains(static_cast<std::size_t>(row));
}

bool CCanvasAccessible::selectRow(int row)
{
    CKarveloDoc* doc = Document();
    if (!doc || row < 0 || row >= childCount())
        return false;
    if (!isRowSelected(row))
        actions::Toggle(doc->Model(), row);
    return true;
}

bool CCanvasAccessible::unselectRow(int row)
{
    CKarveloDoc* doc = Document();
    if (!doc || row < 0 || row >= childCount())
        return false;
    if (isRowSelected(row))
        actions::Toggle(doc->Model(), row);
    return true;
}

void CCanvasAccessible::Changed(QWidget* canvas, const LayoutChange* change)
{
    const auto found = live().constFind(canvas);
    if (found != live().constEnd())
        found.value()->OnChanged(change);
}

void CCanvasAccessible::OnChanged(const LayoutChange* change)
{
    const bool listening = QAccessible::isActive();
    const int before = m_count;
    const int after = childCount();
    m_count = after;
    const bool list = !change || (change->flags & LayoutChange::LIST);
    if (list) {
        // An insertion leaves the children in front of it as they were.
        const bool inserted = change && !change->indices.empty() &&
                              after == before + static_cast<int>(change->indices.size());
        DropChildren(inserted ? static_cast<int>(change->indices.front()) : 0, listening);
        if (listening)
            TellList(change, before, after);
    } else if (listening && (change->flags & LayoutChange::RECORDS)) {
        std::vector<int> touched;
        for (const auto& [index, id] : m_children)
            if (change->Touches(static_cast<std::size_t>(index)))
                touched.push_back(index);
        for (int index : touched) {
            Tell(index, QAccessible::DescriptionChanged);
            if (change->flags & LayoutChange::NAMES)
                Tell(index, QAccessible::NameChanged);
        }
    }
    const CKarveloDoc* doc = Document();
    const int current = doc ? doc->CurrentIndex() : -1;
    if (listening && (list || (change->flags & (LayoutChange::SELECTION | LayoutChange::CURRENT))))
        TellSelection(list || current != m_current);
    m_current = current;
}

void CCanvasAccessible::OnFocusIn()
{
    if (!QAccessible::isActive() || !m_focusWatch)
        return;
    // Qt tells of the canvas's own focus once the focus has moved: the control's comes after.
    QMetaObject::invokeMethod(
        m_focusWatch.data(),
        [this] {
            const CKarveloView* canvas = Canvas();
            const CKarveloDoc* doc = Document();
            if (canvas && doc && canvas->hasFocus() && doc->CurrentIndex() >= 0)
                Tell(doc->CurrentIndex(), QAccessible::Focus);
        },
        Qt::QueuedConnection);
}

void CCanvasAccessible::DropChildren(int from, bool tell)
{
    std::vector<std::pair<int, QAccessible::Id>> going;
    for (const auto& entry : m_children)
        if (entry.first >= from)
            going.push_back(entry);
    const bool oneByOne = tell && going.size() <= TOLD_ONE_BY_ONE;
    for (const auto& [index, id] : going) {
        m_children.erase(index);
        QAccessibleInterface* made = QAccessible::accessibleInterface(id);
        if (!made)
            continue;
        if (oneByOne) {
            QAccessibleEvent event(made, QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&event);
        }
        QAccessible::deleteAccessibleInterface(id);
    }
}

void CCanvasAccessible::TellList(const LayoutChange* change, int before, int after)
{
    CKarveloView* canvas = Canvas();
    if (!canvas)
        return;
    const bool inserted = change && !change->indices.empty() &&
                          after == before + static_cast<int>(change->indices.size());
    QAccessibleTableModelChangeEvent table(canvas, QAccessibleTableModelChangeEvent::ModelReset);
    if (inserted) {
        table.setModelChangeType(QAccessibleTableModelChangeEvent::RowsInserted);
        table.setFirstRow(static_cast<int>(change->indices.front()));
        table.setLastRow(static_cast<int>(change->indices.back()));
    }
    QAccessible::updateAccessibility(&table);
    if (inserted && change->indices.size() <= TOLD_ONE_BY_ONE)
        for (std::size_t index : change->indices)
            Tell(static_cast<int>(index), QAccessible::ObjectCreated);
}

void CCanvasAccessible::TellSelection(bool currentMoved)
{
    const CKarveloView* canvas = Canvas();
    const CKarveloDoc* doc = Document();
    if (!canvas || !doc)
        return;
    const SelectionState& selection = doc->Selection();
    if (m_current >= 0 && m_current != selection.current &&
        !selection.Contains(static_cast<std::size_t>(m_current)))
        Tell(m_current, QAccessible::SelectionRemove);
    if (selection.current < 0)
        return;
    Tell(selection.current,
         selection.selected.size() == 1 ? QAccessible::Selection : QAccessible::SelectionAdd);
    if (currentMoved && canvas->hasFocus())
        Tell(selection.current, QAccessible::Focus);
}

void CCanvasAccessible::Tell(int index, QAccessible::Event type) const
{
    if (QAccessibleInterface* made = child(index)) {
        QAccessibleEvent event(made, type);
        QAccessible::updateAccessibility(&event);
    }
}
