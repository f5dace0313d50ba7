#!/usr/bin/python3
"""Reads the running editor through AT-SPI, as a screen reader does, and drives it with keys
through xdotool: the canvas of a layout of three controls, a Tab to the next control, a new
control, a deletion and its undo. Exits 1 with the failed checks listed."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WINDOW = sys.argv[1]
failures = []
heard = []  # (event type, source name, detail1, source role)


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def pump(seconds):
    """Lets the events of the bridge arrive while time passes."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def on_event(event):
    try:
        name, role = event.source.name, event.source.getRole()
    except Exception:
        name, role = None, None
    heard.append((event.type, name, event.detail1, role))


def last_focus():
    """The name and role of what a reader believes has the focus now."""
    focus = [(name, role) for kind, name, _, role in heard if kind == "focus:"]
    return focus[-1] if focus else None


def keys(*names):
    subprocess.run(["xdotool", "search", "--name", WINDOW, "windowactivate", "--sync"],
                   check=False, stdout=subprocess.DEVNULL)
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
        pump(0.3)


def find(root, role, depth=0):
    if root is None or depth > 20:
        return None
    if root.getRole() == role:
        return root
    for i in range(root.childCount):
        found = find(root.getChildAtIndex(i), role, depth + 1)
        if found is not None:
            return found
    return None


def canvas():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Karvelo":
            app.clearCache()
            return find(app, pyatspi.ROLE_CANVAS)
    return None


def children(of):
    of.clearCache()
    found = []
    for i in range(of.childCount):
        child = of.getChildAtIndex(i)
        child.clearCache()
        found.append(child)
    return found


def has(child, state):
    return child.getState().contains(state)


def settle(condition, seconds=5):
    """Waits until condition holds, as the bridge's answers follow the keys a little later."""
    end = time.time() + seconds
    while time.time() < end:
        try:
            if condition():
                return True
        except Exception:
            pass
        pump(0.1)
    return False


for kind in ("focus:", "object:state-changed:focused", "object:state-changed:selected",
             "object:children-changed"):
    pyatspi.Registry.registerEventListener(on_event, kind)

settle(lambda: canvas() is not None, 15)
board = canvas()
check(board is not None, "the editor shows a canvas to AT-SPI")
if board is None:
    sys.exit(1)
check(board.name == "Zeichenfläche", "the canvas is named: %r" % board.name)
check(board.getState().contains(pyatspi.STATE_MANAGES_DESCENDANTS),
      "its children are made on demand, and readers are told to keep no copies of them")
check(board.queryTable().nRows == 3, "as a table of a row per control")

first = children(board)
check([c.name for c in first] == ["TITLE", "NAME", "OK"],
      "three children named after the controls, in list order: %r" % [c.name for c in first])
check([c.description for c in first] == ["Id 0, 10, 10 bis 790, 40", "Id 1, 10, 50 bis 110, 80",
                                         "Id 2, 600, 540 bis 690, 570"],
      "their descriptions: %r" % [c.description for c in first])
check(all(c.getRole() == pyatspi.ROLE_IMAGE for c in first), "each child is a picture")

# The window opens with the panel's Name field in focus: Shift+F6 goes back to the canvas.
heard.clear()
keys("shift+F6")
check(settle(lambda: canvas().getState().contains(pyatspi.STATE_FOCUSED)),
      "Shift+F6 from the Name field puts the focus on the canvas")
keys("s", "Tab")


def tabbed():
    now = children(board)
    return (len(now) == 3 and has(now[1], pyatspi.STATE_FOCUSED) and
            has(now[1], pyatspi.STATE_SELECTED) and not has(now[0], pyatspi.STATE_FOCUSED) and
            not has(now[0], pyatspi.STATE_SELECTED))


check(settle(tabbed), "after S and Tab the focused child is NAME, the next control, and selected")
check(settle(lambda: last_focus() == ("NAME", pyatspi.ROLE_IMAGE)),
      "a reader heard the focus go to NAME on the canvas, and nowhere after: %r" % (last_focus(),))
check(settle(lambda: ("object:state-changed:selected", "NAME", 1, pyatspi.ROLE_IMAGE) in heard),
      "and heard NAME become selected")

heard.clear()
keys("Insert")


def inserted():
    now = children(board)
    return (len(now) == 4 and now[3].name == "UNBENANNT3" and
            has(now[3], pyatspi.STATE_FOCUSED) and has(now[3], pyatspi.STATE_SELECTED) and
            not has(now[1], pyatspi.STATE_FOCUSED))


check(settle(inserted), "after Insert there are four children and the new one is focused")
now = children(board)
check(len(now) == 4 and now[3].description == "Id 3, 10, 90 bis 110, 120",
      "the new control lies 10 below NAME, 100 x 30: %r" % (now[3].description if len(now) == 4
                                                              else None))
check(settle(lambda: any(t.startswith("object:children-changed:add") for t, _, _, _ in heard)),
      "a reader heard a child come")
check(settle(lambda: last_focus() == ("UNBENANNT3", pyatspi.ROLE_IMAGE)),
      "and the focus go to it, and nowhere after: %r" % (last_focus(),))

keys("Delete")
check(settle(lambda: len(children(board)) == 3), "after Delete three children")
keys("ctrl+z")
check(settle(lambda: [c.name for c in children(board)] == ["TITLE", "NAME", "OK", "UNBENANNT3"]),
      "after Ctrl+Z the tree is back to four: %r" % [c.name for c in children(board)])

if failures:
    print("%d AT-SPI checks failed" % len(failures))
    sys.exit(1)
print("all AT-SPI checks passed")
