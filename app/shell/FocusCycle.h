// F6 and Shift+F6 in a layout window (the pane commands of the accelerators) go from one pane
// to the other, so either pressed twice comes back to the pane it started in. Into the panel,
// F6 lands on its first field and Shift+F6 on its list; out of the panel both go to the
// canvas. What cannot take the focus is passed over. Esc in a field or in the list brings the
// focus back to the canvas.
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
    // To the other pane: F6 is forward (1), Shift+F6 back (-1).
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
