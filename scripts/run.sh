#!/usr/bin/env bash
# Installs what is needed, builds, and starts the browser with the bar.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/host/tavrisk "$@"
