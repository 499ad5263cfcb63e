#!/usr/bin/env bash
# A selected image with its frame and handles, and the table dialog, in the
# program as a user sees them. Runs under the X server of screenshots.sh.
set -euo pipefail
: "${OUT:?}" "${BUILD:?}"
export TAVRISK_HOME
TAVRISK_HOME=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$TAVRISK_HOME"' EXIT

page="$TAVRISK_HOME/page.htm"
convert -size 160x100 gradient:'#5b8def'-'#a3d977' "$TAVRISK_HOME/photo.png"
cat > "$page" <<'HTML'
<html><head><title>Handles</title></head>
<body style="margin:24px;font:15px sans-serif">
<h2>Our garden</h2>
<p>A picture of the garden, selected: its frame has eight handles.</p>
<p><img src="photo.png" width="160" height="100"> Drag a handle to resize it.</p>
<p id="after">Click here, then press the table button.</p>
</body></html>
HTML

"$BUILD/host/tavrisk" "file://$page" >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^Tavrisk' 2>/dev/null | head -1 || true)
  [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || { echo "the program's window did not appear" >&2; exit 1; }
xdotool windowsize --sync "$win" 1100 800
xdotool windowmove --sync "$win" 0 0
sleep 2

# Positions inside the window, as the bar lays out its buttons.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep "${3:-1}"; }
shoot() { import -window "$win" "$OUT/$1"; }
pixel() { import -window "$win" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
# Waits until the pixel at x y is (or, with "!", is not) the colour.
wait_pixel() {
  for _ in $(seq 60); do
    local now
    now=$(pixel "$1" "$2")
    if [ "$3" = "!" ]; then [ "$now" != "$4" ] && return 0; else [ "$now" = "$3" ] && return 0; fi
    sleep 0.25
  done
  echo "waited in vain for $3 $4 at $1,$2" >&2
  return 1
}

# The page is shown when its picture is.
background=$(pixel 600 450)
wait_pixel 104 214 ! "$background"
# "Edit site", then the picture: its frame and handles show (a white handle
# on its bottom right corner).
click 52 588 2
for _ in 1 2 3; do
  click 104 214
  wait_pixel 184 264 "#FFFFFF" && break
done
shoot 50-image-handles.png
# Text, then "Insert a table": the dialog opens.
click 330 292
click 241 632 2
dialog=$(xdotool search --sync --onlyvisible --name '^Table properties$' | head -1)
sleep 1
# Three rows of two columns: the preview grid follows.
type_into() {
  xdotool mousemove --window "$dialog" "$1" "$2" click --repeat 3 1 type "$3"
  sleep 0.5
}
type_into 160 44 3
type_into 160 86 2
import -window "$dialog" "$OUT/50-table-dialog.png"

# "Insert the table", then its border selects it: the table with its handles.
xdotool mousemove --window "$dialog" 156 480 click 1
sleep 2
for _ in 1 2 3; do
  click 25 335
  wait_pixel 1076 301 "#FFFFFF" && break
done
shoot 50-table-handles.png
