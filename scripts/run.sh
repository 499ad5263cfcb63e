#!/usr/bin/env bash
# Installs what is needed, builds, and starts the browser with the bar.
# Without an address it opens a demo site that runs on this computer (see
# scripts/demo.sh); with one it opens that address with the user's settings.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ $# -eq 0 ]; then
  exec scripts/demo.sh build/host/tavrisk
fi
exec build/host/tavrisk "$@"
