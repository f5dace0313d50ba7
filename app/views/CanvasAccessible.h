// What a screen reader reads of the canvas: the canvas, and one child per control in list
// order (CControlAccessible). A child is made when a reader first asks for it, so a large
// layout costs nothing until then. The canvas is a table of one column, a row per control:
// readers know its children come and go and keep no copies of them, and they hear of a new
// current control, of the selection, and of controls that came or went.
#pragma once

#include <QAccessibleWidget>
#include <QPointer>

#include <unordered_map>

class CKarveloDoc;
class CKarveloView;
struct LayoutChange;

class CCanvasAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit CCanvasAccessible(CKarveloView* canvas);
    ~CCanvasAccessible() override;

    // For QAccessible::installFactory: the canvas's interface, for any other object none.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);
    // The layout on canvas changed as change says (null: anything). Nothing is done until a
    // reader asked for the canvas, and nothing is told while no reader listens.
    static void Changed(QWidget* canvas, const LayoutChange* change);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // The table: row i is control i; selecting a row selects its control.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return QString(); }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    // The children have followed the change already (see Changed).
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    CKarveloView* Canvas() const;
    CKarveloDoc* Document() const;
    // How many children have been made and are kept: for tests and measurements.
    std::size_t ChildrenMade() const { return m_children.size(); }

    // Past this many controls at once, readers hear one event for the whole list instead of
    // one per control.
    static constexpr std::size_t TOLD_ONE_BY_ONE = 64;

private:
    void OnChanged(const LayoutChange* change);
    // The canvas took the focus: the current control's child has it for a reader.
    void OnFocusIn();
    // Children stand for indices: from the first index a change of the list moved on, they
    // would name other controls, so they go (and readers hear they went).
    void DropChildren(int from, bool tell);
    void TellList(const LayoutChange* change, int before, int after);
    void TellSelection(bool currentMoved);
    void Tell(int index, QAccessible::Event type) const;

    mutable std::unordered_map<int, QAccessible::Id> m_children;
    int m_count = 0;    // the controls when last told
    int m_current = -1; // the current control when last told
    QPointer<QObject> m_focusWatch;
};
