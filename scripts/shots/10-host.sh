#!/usr/bin/env bash
# The browser with the bar on the sample page, then the same page in edit
# mode after a press on "Edit site".
set -euo pipefail
export TAVRISK_HOME
TAVRISK_HOME=$(mktemp -d)
"$BUILD/host/tavrisk" >"$TAVRISK_HOME/tavrisk.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$TAVRISK_HOME"' EXIT

# Tries a condition five times a second for up to a minute.
wait_until() {
  for ((i = 0; i < 300; i++)); do
    "$@" && return 0
    if ! kill -0 $pid 2>/dev/null; then
      echo "10-host: the program ended while waiting for: $*" >&2
      cat "$TAVRISK_HOME/tavrisk.log" >&2
      return 1
    fi
    sleep 0.2
  done
  echo "10-host: timed out waiting for: $*" >&2
  return 1
}
window() { xdotool search --onlyvisible --name '^Tavrisk$' 2>/dev/null | head -1; }
has_window() { [ -n "$(window)" ]; }
# WIDTHxHEIGHT+X+Y of the window's picture, as a hash.
picture() { import -window "$wid" -crop "$1" +repage rgb:- 2>/dev/null | md5sum; }
# Colors in a part of the window: a blank web view has one.
colors() { import -window "$wid" -crop "$1" +repage -format %k info: 2>/dev/null; }
page_drawn() { [ "$(colors 1000x300+40+100)" -gt 8 ]; }
# The window's picture has stopped changing (two looks half a second apart).
settled() {
  local before
  before=$(picture 1100x800+0+0)
  sleep 0.5
  [ "$before" = "$(picture 1100x800+0+0)" ]
}
bar_changed() { [ "$(picture 1100x240+0+560)" != "$bar_before" ]; }

wait_until has_window
wid=$(window)
wait_until page_drawn
wait_until settled
import -window "$wid" "$OUT/10-host-with-bar.png"

# "Edit site" sits at the left end of the bar's first row.
bar_before=$(picture 1100x240+0+560)
xdotool mousemove --window "$wid" 52 589 click 1
wait_until bar_changed
wait_until settled
# A word of the first paragraph selected and made bold with the bar's Bold
# button, as a person tries it; the pointer then leaves, taking the tooltip.
xdotool mousemove --window "$wid" 230 139 click --repeat 2 1
wait_until settled
xdotool mousemove --window "$wid" 413 687 click 1
xdotool mousemove --window "$wid" 800 500
wait_until settled
import -window "$wid" "$OUT/10-edit-mode.png"
