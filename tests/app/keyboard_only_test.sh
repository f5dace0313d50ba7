#!/usr/bin/env bash
# Makes a layout of five controls (a title, two labels, two fields) from an empty one with the
# keyboard alone, in the real editor under a virtual X server with a window manager: xdotool
# sends keys and nothing else. Saves it and checks what laytool dump shows. The keys are the
# example in the README.
set -euo pipefail
karvelo=$1
laytool=$2

for tool in xvfb-run openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "keyboard test: $tool is missing (scripts/setup installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export KARVELO="$karvelo" WORK="$work"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    "$KARVELO" >"$WORK/karvelo.log" 2>&1 &
    editor=$!
    if ! timeout 30 xdotool search --sync --name "Karvelo - Layout1" >/dev/null; then
        echo "keyboard test: the editor window did not appear"; cat "$WORK/karvelo.log"; kill $editor; exit 1
    fi
    sleep 2
    k() { xdotool key --delay 100 "$@"; sleep 0.3; }
    t() { xdotool type --delay 80 "$1"; sleep 0.3; }
    k F6 s
    k Insert F6; t TITLE; k Tab Tab Tab Tab; t 780; k Escape
    k Insert F6; t NAME_LABEL; k Escape
    k Insert F6; t CITY_LABEL; k Escape
    k Insert F6; t NAME_FIELD; k Tab Tab; t 120; k Tab; t 50; k Escape
    k Insert F6; t CITY_FIELD; k Escape
    k ctrl+Right ctrl+shift+Right
    k ctrl+s
    if ! timeout 20 xdotool search --sync --name "Сохранить как" >/dev/null; then
        echo "keyboard test: no Save As box"; kill $editor; exit 1
    fi
    sleep 1
    t "$WORK/form.lay"; k Return
    for i in $(seq 50); do [ -s "$WORK/form.lay" ] && break; sleep 0.2; done
    kill $editor
    wait $editor 2>/dev/null || true
'
cat >"$work/expected.json" <<'JSON'
{"result": "0x00000000", "controls": [
  {"id": 0, "name": "TITLE", "guiResourceId": 0, "textId": 0, "x1": 10, "y1": 10, "x2": 790, "y2": 40},
  {"id": 1, "name": "NAME_LABEL", "guiResourceId": 0, "textId": 0, "x1": 10, "y1": 50, "x2": 110, "y2": 80},
  {"id": 2, "name": "CITY_LABEL", "guiResourceId": 0, "textId": 0, "x1": 10, "y1": 90, "x2": 110, "y2": 120},
  {"id": 3, "name": "NAME_FIELD", "guiResourceId": 0, "textId": 0, "x1": 120, "y1": 50, "x2": 220, "y2": 80},
  {"id": 4, "name": "CITY_FIELD", "guiResourceId": 0, "textId": 0, "x1": 120, "y1": 90, "x2": 231, "y2": 120}
]}
JSON
if [ ! -s "$work/form.lay" ]; then
    echo "keyboard test: nothing was saved"; cat "$work/karvelo.log"; exit 1
fi
"$laytool" dump "$work/form.lay" >"$work/dump.json"
if ! diff -u "$work/expected.json" "$work/dump.json"; then
    echo "keyboard test: the layout made with the keyboard is not the one expected"; exit 1
fi
echo "keyboard test: five controls made and saved with keys alone"
