// The Select tool's keys for working without a mouse: Tab and Shift+Tab pick the next and the
// previous control, Insert makes a new one, and the Menu key and Shift+F10 open the context
// menu at the selection. Whatever they pick comes into view.
#pragma once

#include <QPoint>

class CCanvasHost;
class QKeyEvent;

class CSelectKeys
{
public:
    explicit CSelectKeys(CCanvasHost& host) : m_host(host) {}

    // true when the key was one of these.
    bool KeyPress(const QKeyEvent* event);
    // Pans the canvas until the current control is in view, with a margin where it fits.
    void ShowCurrent();
    // Where the menu opens for the keyboard, on the screen: the bottom left corner of the
    // selection, or of the layout screen without one, within the canvas.
    QPoint MenuPosition() const;

    // Device pixels kept free around a control brought into view.
    static constexpr int VIEW_MARGIN = 20;

private:
    CCanvasHost& m_host;
};
