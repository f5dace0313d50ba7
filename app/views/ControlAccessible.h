// One control of the canvas as a screen reader reads it: a picture named after the control,
// with its id and corners as the description, selected and focused as on the canvas. It
// stands for an index of the list and reads the record there each time it is asked.
#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class CKarveloView;
struct LayoutControl;

class CControlAccessible : public QAccessibleInterface
{
public:
    CControlAccessible(CKarveloView* canvas, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QString text(QAccessible::Text t) const override;
    // On the screen, where the canvas shows the control's outline.
    QRect rect() const override;
    QAccessible::State state() const override;

    int Index() const { return m_index; }
    const CKarveloView* Canvas() const { return m_canvas; }

private:
    // The record at the index, or null once the list is shorter.
    const LayoutControl* Record() const;

    QPointer<CKarveloView> m_canvas;
    int m_index;
};
