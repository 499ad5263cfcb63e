#!/bin/bash
# Builds the libFuzzer targets under fuzz/ with Debian's clang (address and
# undefined-behaviour sanitizers on) and runs each for SECONDS (default
# 60), one after the other, from the seeds in fuzz/seeds and the test
# fixtures. Prints each target's last line; stops at the first finding,
# which libFuzzer leaves as a crash-* file in the build folder.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# FUZZ_BUILD sets the build folder (default build-fuzz); FUZZ_JOBS > 1
# runs that many targets at once.
set -euo pipefail

seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-1}

# The fuzzing runtime comes with Debian's clang; it is needed here only.
if ! command -v clang++ >/dev/null || ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi

glib=$(pkg-config --cflags --libs glib-2.0)
declare -A sources=(
    [ftp_reply]="fuzz/FtpReplyFuzz.cpp publishing/ftp/FtpReply.cpp publishing/ftp/FtpControlChannel.cpp platform/net/Socket.cpp platform/net/Wait.cpp platform/net/MainLoop.cpp"
    [url_text]="fuzz/UrlTextFuzz.cpp connections/TextOps.cpp connections/UrlParts.cpp"
    [parsepage]="fuzz/ParsePageFuzz.cpp publishing/references/ParsePage.cpp publishing/references/LocalValues.cpp connections/TextOps.cpp"
    [ini_store]="fuzz/IniStoreFuzz.cpp connections/IniFileStore.cpp platform/places/Places.cpp"
    [registry]="fuzz/RegistryFuzz.cpp platform/registry/Registry.cpp platform/places/Places.cpp"
)
# Test fixtures that seed a target besides its own seeds.
declare -A fixtures=(
    [ini_store]="tests/connections/data"
)

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ftp_reply url_text parsepage ini_store registry)

mkdir -p "$out"
for target in "${targets[@]}"; do
    [ -n "${sources[$target]:-}" ] || { echo "unknown target $target" >&2; exit 2; }
    files=()
    for f in ${sources[$target]}; do files+=("$root/$f"); done
    echo "building $target"
    # shellcheck disable=SC2086
    clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=undefined -I"$root" "${files[@]}" $glib -pthread \
        -o "$out/$target"
done

run() {
    local target=$1
    local corpus="$out/corpus/$target"
    mkdir -p "$corpus"
    local seeds=("$root/fuzz/seeds/$target")
    for f in ${fixtures[$target]:-}; do seeds+=("$root/$f"); done
    (cd "$out" && ASAN_OPTIONS=detect_leaks=1 "./$target" -max_total_time="$seconds" \
        -timeout=60 -rss_limit_mb=4096 -print_final_stats=0 "$corpus" "${seeds[@]}" \
        >"$target.log" 2>&1)
    local status=$?
    echo "$target: $(grep -v '^$' "$out/$target.log" | tail -1)"
    return $status
}

failed=0
running=0
for target in "${targets[@]}"; do
    if [ "$jobs" -gt 1 ]; then
        run "$target" || failed=1 &
        running=$((running + 1))
        if [ "$running" -ge "$jobs" ]; then
            wait -n || true
            running=$((running - 1))
        fi
    else
        run "$target" || failed=1
    fi
done
wait
# In the background case the status is in the logs.
for target in "${targets[@]}"; do
    grep -q "^Done [0-9]* runs" "$out/$target.log" || failed=1
done
exit $failed
