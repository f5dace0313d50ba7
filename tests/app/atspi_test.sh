#!/usr/bin/env bash
# Starts the real editor under a virtual X server with a window manager, a D-Bus session and
# the AT-SPI registry, and reads it as a screen reader does (atspi_check.py): the canvas of a
# layout of three controls, Tab, Insert, Delete and Ctrl+Z. Without the packages it needs it
# fails and names them.
set -euo pipefail
karvelo=$1
laytool=$2
here=$(cd "$(dirname "$0")" && pwd)

missing=()
need() { # a command or file, and the Debian package that brings it
    command -v "$1" >/dev/null 2>&1 || [ -x "$1" ] || missing+=("$2 (for $1)")
}
need xvfb-run xvfb
need openbox openbox
need xdotool xdotool
need dbus-run-session dbus
launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -1 || true)
need "${launcher:-at-spi-bus-launcher}" at-spi2-core
registry=$(ls /usr/libexec/at-spi2-registryd /usr/lib/at-spi2-core/at-spi2-registryd 2>/dev/null | head -1 || true)
need "${registry:-at-spi2-registryd}" at-spi2-core
python=/usr/bin/python3
"$python" -c 'import pyatspi' >/dev/null 2>&1 || missing+=("python3-pyatspi (for import pyatspi in $python)")
if [ ${#missing[@]} -gt 0 ]; then
    list=$(printf '%s, ' "${missing[@]}")
    echo "atspi test: missing ${list%, }; scripts/setup installs them"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/three.json" <<'JSON'
{"controls": [{"id": 0, "name": "TITLE", "x1": 10, "y1": 10, "x2": 790, "y2": 40},
              {"id": 1, "name": "NAME", "x1": 10, "y1": 50, "x2": 110, "y2": 80},
              {"id": 2, "name": "OK", "x1": 600, "y1": 540, "x2": 690, "y2": 570}]}
JSON
"$laytool" make "$work/three.json" "$work/three.lay"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export KARVELO="$karvelo" WORK="$work" LAUNCHER="$launcher" PYTHON="$python" CHECK="$here/atspi_check.py"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
dbus-run-session -- xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    openbox >"$WORK/openbox.log" 2>&1 &
    "$LAUNCHER" --launch-immediately >"$WORK/bus.log" 2>&1 &
    sleep 1
    "$KARVELO" "$WORK/three.lay" >"$WORK/karvelo.log" 2>&1 &
    editor=$!
    if ! timeout 30 xdotool search --sync --name "Karvelo - three.lay" >/dev/null; then
        echo "atspi test: the editor window did not appear"; cat "$WORK/karvelo.log"; kill $editor; exit 1
    fi
    sleep 2
    status=0
    timeout 120 "$PYTHON" "$CHECK" "Karvelo - three.lay" || status=1
    kill $editor
    wait $editor 2>/dev/null || true
    [ $status -eq 0 ] || { echo "--- editor output"; cat "$WORK/karvelo.log";
                           echo "--- window manager output"; cat "$WORK/openbox.log"; }
    exit $status
' 2>&1 | grep -v "Failed to set fd limit"
exit "${PIPESTATUS[0]}"
