#!/usr/bin/env bash
# Configures and builds into build/ (BUILD_DIR to change). SANITIZE=1 builds
# with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
options=()
if [ -n "${SANITIZE:-}" ]; then
  flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
  options=(-DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags"
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined")
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  "${options[@]}" >/dev/null
cmake --build "$build_dir"
