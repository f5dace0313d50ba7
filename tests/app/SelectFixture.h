// The editor with the Select tool active on a canvas of 840 by 640 pixels.
#pragma once

#include "PanelFixture.h"
#include "support/LayoutRecords.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace testing_support {

class SelectToolTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        editor.canvas()->resize(840, 640);
        editor.app->Settings().SetTool(CEditorSettings::SelectTool);
        editor.canvas()->setFocus();
        processEvents();
    }
    // The layout as if loaded: no steps, nothing selected.
    void layout(std::vector<LayoutControl> controls)
    {
        doc()->Model().ReplaceControls(nullptr, std::move(controls), QStringLiteral("x"));
        doc()->UndoStack()->clear();
        doc()->Model().SetSelection(nullptr, SelectionState());
    }
    QWidget* canvas() { return editor.canvas(); }
    // A canvas point of a layout point at 100 %.
    static QPoint at(double x, double y)
    {
        return QPoint(static_cast<int>(x) + 20, static_cast<int>(y) + 20);
    }
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, pos, canvas()->mapToGlobal(pos), button, buttons, modifiers);
        QCoreApplication::sendEvent(canvas(), &event);
    }
    void click(QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, modifiers);
        send(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    // Presses at from, moves in steps to to, and releases there unless told not to.
    void dragTo(QPoint from, QPoint to, int steps = 4,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool release = true)
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= steps; ++i)
            send(QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, Qt::LeftButton,
                 modifiers);
        if (release)
            send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), repeat);
        QCoreApplication::sendEvent(canvas(), &press);
    }
    std::vector<std::size_t> selected() { return doc()->Selection().selected; }
    int steps() { return doc()->UndoStack()->count(); }
    QImage picture()
    {
        processEvents();
        return canvas()->grab().toImage();
    }
};

} // namespace testing_support
