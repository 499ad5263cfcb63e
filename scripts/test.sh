#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. Tests that need a
# display or the browser engine run under a private X server.
#
# scripts/test.sh --sanitize [CTEST ARGUMENTS] builds into build-asan with the
# address and undefined-behaviour sanitizers and fails on any report, leaks
# included; the libraries below the program are not checked for leaks
# (scripts/sanitizer/lsan.supp says which and why).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build_dir=build
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build_dir=build-asan
  export SANITIZE=1
  supp="$PWD/scripts/sanitizer/lsan.supp"
  # Full stacks at each allocation: the libraries below the program are
  # built without frame pointers, and the quick unwinder stops inside them,
  # so a leak of the program's own through GLib would name none of its code.
  export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:${ASAN_OPTIONS:-}"
  export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0:fast_unwind_on_malloc=0:${LSAN_OPTIONS:-}"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
fi
BUILD_DIR=$build_dir scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 600 "$@"
