#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. Tests that need a
# display or the browser engine run under a private X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build --output-on-failure --timeout 600 "$@"
