// A list box whose rows its owner holds: the box asks for a row's text when it shows the row,
// so filling it costs the same for ten rows and for a hundred thousand.
#pragma once

#include <QListView>

#include <functional>

namespace fw {

class ListBox : public QListView
{
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr);
    ~ListBox() override;

    // count gives the number of rows at a refill; text gives a row's text when it is shown.
    void SetRows(std::function<int()> count, std::function<QString(int)> text);

    // Shows the rows afresh; no row is selected afterwards.
    void Refill();
    int count() const;
    QString text(int row) const;
    // The selected row, or -1.
    int SelectedRow() const;
    // Selects row as a click on it would (-1: none).
    void setCurrentRow(int row);
    // Shows row in bold and scrolls to it without selecting it (-1: no row is marked); the
    // keys go on from there. The selected row stays what the user picked.
    void MarkRow(int row);
    int MarkedRow() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    // Screen readers hear of a new current row only while the list has the focus.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

signals:
    // The user (or setCurrentRow) selected another row.
    void rowSelected();

private:
    class Rows;
    Rows* m_rows;
};

} // namespace fw
