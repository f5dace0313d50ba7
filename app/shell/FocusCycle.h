// F6 and Shift+F6 in a layout window (the pane commands of the accelerators): the focus goes
// round the canvas, the panel's fields and the panel's list, skipping what cannot take it.
// Esc in a field or in the list brings it back to the canvas.
#pragma once

#include "Commands.h"

#include <QObject>
#include <QPointer>

class CKarveloView;
class CKarveloView_Controls;

namespace fw {
class MdiChild;
}

class CFocusCycle : public QObject
{
    Q_OBJECT

public:
    CFocusCycle(fw::MdiChild& frame, CKarveloView_Controls& panel, CKarveloView& canvas);
    // The next and the previous pane commands, before the frame's own.
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state);

    enum Stop
    {
        CANVAS,
        FIELDS, // the first field that takes the focus (Name, but for several selected)
        LIST,
        STOPS,
    };
    // Where the focus is now; outside the window, where the active pane is.
    Stop Current() const;
    // To the next stop that takes the focus, step stops on (1 or -1).
    void Move(int step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Enter(Stop stop);
    QWidget* Field() const;
    bool Reachable(const QWidget* widget) const;
    void OnNextPane() { Move(1); }
    void OnPrevPane() { Move(-1); }

    fw::MdiChild& m_frame;
    QPointer<CKarveloView_Controls> m_panel;
    QPointer<CKarveloView> m_canvas;
};
