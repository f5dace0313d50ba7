#include "ListBox.h"

#include <QAbstractListModel>
#include <QFont>
#include <QItemSelectionModel>

namespace fw {

class ListBox::Rows : public QAbstractListModel
{
public:
    explicit Rows(QObject* parent) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_count;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_count)
            return QVariant();
        if (role == Qt::FontRole && index.row() == m_marked) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role != Qt::DisplayRole || !m_text)
            return QVariant();
        return m_text(index.row());
    }
    void Reset()
    {
        beginResetModel();
        m_count = m_countOf ? m_countOf() : 0;
        if (m_marked >= m_count)
            m_marked = -1;
        endResetModel();
    }

    std::function<int()> m_countOf;
    std::function<QString(int)> m_text;
    int m_count = 0;
    int m_marked = -1;
};

ListBox::ListBox(QWidget* parent) : QListView(parent), m_rows(new Rows(this))
{
    setModel(m_rows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Every row is one line of text: its height is known without asking each one.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::rowSelected);
}

ListBox::~ListBox() = default;

void ListBox::SetRows(std::function<int()> count, std::function<QString(int)> text)
{
    m_rows->m_countOf = std::move(count);
    m_rows->m_text = std::move(text);
    Refill();
}

void ListBox::Refill()
{
    const QSignalBlocker quiet(selectionModel());
    const int count = m_rows->m_countOf ? m_rows->m_countOf() : 0;
    if (count != m_rows->m_count || count == 0) {
        m_rows->Reset();
    } else {
        // As many rows as before: the texts are read as the rows are drawn, so showing them
        // again is enough, and costs nothing per row.
        viewport()->update();
    }
    selectionModel()->clear();
}

int ListBox::count() const
{
    return m_rows->m_count;
}

QString ListBox::text(int row) const
{
    return m_rows->data(m_rows->index(row), Qt::DisplayRole).toString();
}

int ListBox::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const
{
    // Ctrl+click or Ctrl+Space on the selected row would take the selection away: a list of
    // one selected row keeps it, so Delete still knows what to delete.
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if ((command & QItemSelectionModel::Deselect) && selectionModel()->isSelected(index))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // Qt's list tells readers the current row took the focus even while the list has none
    // (a row marked for the canvas): they would leave the widget that has it.
    if (hasFocus())
        QListView::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void ListBox::MarkRow(int row)
{
    if (row < 0 || row >= count())
        row = -1;
    const int before = m_rows->m_marked;
    m_rows->m_marked = row;
    if (before >= 0 && before < count() && before != row)
        update(m_rows->index(before));
    if (row < 0)
        return;
    update(m_rows->index(row));
    const QModelIndex index = m_rows->index(row);
    // Where the keys go on from, without selecting anything.
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

int ListBox::MarkedRow() const
{
    return m_rows->m_marked;
}

void ListBox::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(m_rows->index(row), QItemSelectionModel::ClearAndSelect);
}

} // namespace fw
