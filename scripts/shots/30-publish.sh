#!/usr/bin/env bash
# The publishing road: a page of a site on loopback (Python's HTTP server and
# pyftpdlib), the page under editing with a word changed and a picture from
# the disk put in, and the published page shown again from the web server.
# The end-to-end test saves the window at each step when TAVRISK_SHOTS is
# set; it waits on each page before saving it.
set -euo pipefail
: "${OUT:?}" "${BUILD:?}"
cmake --build "$BUILD" --target host_publish_tests TavriskToolbarre > /dev/null
TAVRISK_SHOTS="$OUT" "$BUILD/tests/host/host_publish_tests" \
  --gtest_filter='PublishRoad.*'
for png in publish-1-site-page.png publish-2-edited.png publish-3-published.png; do
  test -s "$OUT/$png"
done
