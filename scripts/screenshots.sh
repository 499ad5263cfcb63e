#!/usr/bin/env bash
# Takes the screenshots that the README shows: runs every scripts/shots/*.sh,
# each under a private X server of its own; each writes PNG files into $OUT.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
need=()
for p in xdotool imagemagick x11-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
scripts/build.sh
export OUT="$PWD/docs/screenshots" BUILD="$PWD/build"
mkdir -p "$OUT"
for shot in scripts/shots/*.sh; do
  echo "== $shot"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$shot"
done
