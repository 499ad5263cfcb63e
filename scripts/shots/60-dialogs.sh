#!/usr/bin/env bash
# The page properties dialog on the sample page in edit mode, and the links
# and images dialog showing the gallery of a page on a loopback web server,
# then its link page.
set -euo pipefail
export TAVRISK_HOME
TAVRISK_HOME=$(mktemp -d)
site=$(mktemp -d)

# A page with nine pictures of different heights, served on loopback.
i=0
for color in tomato gold seagreen steelblue orchid coral khaki slateblue sienna; do
  convert -size 200x$((100 + i * 25)) "gradient:$color-white" "$site/p$i.png"
  i=$((i + 1))
done
{
  echo "<html><head><title>Harbour pictures</title></head><body><h1>Harbour pictures</h1>"
  for j in 0 1 2 3 4 5 6 7 8; do
    echo "<img src=\"p$j.png\" width=\"200\" height=\"$((100 + j * 25))\">"
  done
  echo "<p><a href=\"pics.htm\">Pictures of the harbour</a></p></body></html>"
} >"$site/pics.htm"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!

"$BUILD/host/tavrisk" >"$TAVRISK_HOME/tavrisk.log" 2>&1 &
pid=$!
trap 'kill $pid $server 2>/dev/null || true; wait $pid $server 2>/dev/null || true; rm -rf "$TAVRISK_HOME" "$site"' EXIT

# Tries a condition five times a second for up to a minute.
wait_until() {
  for ((n = 0; n < 300; n++)); do
    "$@" && return 0
    if ! kill -0 $pid 2>/dev/null; then
      echo "60-dialogs: the program ended while waiting for: $*" >&2
      cat "$TAVRISK_HOME/tavrisk.log" >&2
      return 1
    fi
    sleep 0.2
  done
  echo "60-dialogs: timed out waiting for: $*" >&2
  return 1
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
picture() { import -window "$1" rgb:- 2>/dev/null | md5sum; }
colors() { import -window "$1" -crop "$2" +repage -format %k info: 2>/dev/null; }
page_drawn() { [ "$(colors "$wid" 1000x300+40+100)" -gt 8 ]; }
# A window's picture has stopped changing (two looks half a second apart).
settled() {
  local before
  before=$(picture "$1")
  sleep 0.5
  [ "$before" = "$(picture "$1")" ]
}
title_is() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }
gallery_drawn() { [ "$(colors "$dialog" 600x300+40+80)" -gt 30 ]; }
server_up() { /usr/bin/python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/pics.htm')" 2>/dev/null; }

wait_until server_up
wait_until has_window '^Tavrisk$'
wid=$(window_named '^Tavrisk$')
wait_until page_drawn
wait_until settled "$wid"
# "Edit site" at the left end of the bar's first row; the caption then reads
# "Publish".
xdotool mousemove --window "$wid" 52 589 click 1
wait_until settled "$wid"
sleep 1

# "Page properties" is the fifth button of the first row.
xdotool mousemove --window "$wid" 237 589 click 1
wait_until has_window '^Page properties$'
props=$(window_named '^Page properties$')
wait_until settled "$props"
import -window "$props" "$OUT/60-page-properties.png"
xdotool key --window "$props" Escape 2>/dev/null || true
# "&Cancel" closes it; it sits at the bottom left of the dialog.
xdotool mousemove --window "$props" 45 407 click 1

# The picture button's arrow, then "Insert an image that is on a website".
xdotool mousemove --window "$wid" 58 630 click 1
sleep 0.5
# The second item of the menu, by the keyboard: where the menu opens
# depends on the bar's height.
xdotool key Down Down Return
wait_until has_window '^Links and images$'
dialog=$(window_named '^Links and images$')
wait_until settled "$dialog"
# The address box of the link page; the gallery follows the page it shows.
xdotool mousemove --window "$dialog" 300 120 click 1
xdotool type --delay 5 "127.0.0.1:$port/pics.htm"
xdotool key Return
wait_until title_is "$dialog" "Web browser:Harbour pictures"
wait_until gallery_drawn
wait_until settled "$dialog"
import -window "$dialog" "$OUT/60-links-and-images-gallery.png"

# The link page of the same dialog, opened for a link.
xdotool mousemove --window "$dialog" 700 400
xdotool mousemove --window "$wid" 130 630 click 1
sleep 0.5
xdotool mousemove --window "$wid" 200 668 click 1
wait_until settled "$dialog"
import -window "$dialog" "$OUT/60-links-and-images-link.png"
