#!/usr/bin/env bash
# Starts the real editor in a real X server with a window manager, takes a screenshot and
# checks that it shows the same dark-red and bright-red pixels as laytool's picture of the
# same layout: the 800 by 600 frame and both outlines, the first control highlighted.
set -euo pipefail
karvelo=$1
laytool=$2

for tool in xvfb-run openbox import convert xdotool; do
    command -v "$tool" >/dev/null || { echo "smoke test: $tool is missing (scripts/setup installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/two.json" <<'JSON'
{"controls": [{"id": 0, "name": "OKAY", "x1": 10, "y1": 20, "x2": 110, "y2": 70},
              {"id": 1, "name": "CANCEL", "x1": 300, "y1": 200, "x2": 500, "y2": 580}]}
JSON
"$laytool" make "$work/two.json" "$work/two.lay"
"$laytool" render "$work/two.lay" "$work/expected.png" --current 0

export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" KARVELO="$karvelo" WORK="$work"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    "$KARVELO" "$WORK/two.lay" >"$WORK/karvelo.log" 2>&1 &
    editor=$!
    if ! timeout 30 xdotool search --sync --name "Karvelo - two.lay" >/dev/null; then
        echo "smoke test: the editor window did not appear"; cat "$WORK/karvelo.log"; kill $editor; exit 1
    fi
    sleep 2
    import -window root "$WORK/shot.png"
    kill $editor
    wait $editor 2>/dev/null || true
'

count() { # pixels of colour $2 (hex) in image $1
    convert "$1" -format %c histogram:info:- | awk -v colour="#$2" '$0 ~ colour { gsub(":", "", $1); n += $1 } END { print n + 0 }'
}
status=0
for colour in 400000 FF0000; do
    want=$(count "$work/expected.png" $colour)
    got=$(count "$work/shot.png" $colour)
    echo "colour #$colour: expected $want pixels, screenshot has $got"
    [ "$want" -gt 0 ] && [ "$want" -eq "$got" ] || status=1
done
exit $status
