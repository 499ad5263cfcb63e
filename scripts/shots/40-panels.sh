#!/usr/bin/env bash
# The Img and Tab property pages: the panel test clicks an image and a
# table's border in a real window and saves the window each time.
set -euo pipefail
TAVRISK_HOME=$(mktemp -d)
export TAVRISK_HOME
trap 'rm -rf "$TAVRISK_HOME"' EXIT
TAVRISK_SHOT_DIR="$OUT" "$BUILD/tests/tools/engine/tools_engine_tests" \
  --gtest_filter='Panels.EachClickShowsThePanelFieldsToolsAndLinkStatusOfWhatWasClicked'
for shot in 40-image-panel.png 40-table-panel.png; do
  test -s "$OUT/$shot" || { echo "missing $OUT/$shot" >&2; exit 1; }
done
