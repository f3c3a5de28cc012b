#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each from its seed corpus in fuzz/corpus/ for a bounded time, side by side, one
# per processor. Prints the executions and crashes per target; non-zero if any target crashed.
# FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TOURLOG_FUZZ_BUILD:-$ROOT/build-fuzz}"
SECONDS_PER_TARGET="${FUZZ_SECONDS:-60}"
TARGETS=(dialect participantlist receivedcode profilefile paradox)
CLANG_VERSION=14

for tool in "clang-$CLANG_VERSION" "clang++-$CLANG_VERSION"; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is missing: install clang-$CLANG_VERSION and libclang-rt-$CLANG_VERSION-dev (scripts/test.sh does)" >&2
        exit 2
    fi
done
symbolizer="/usr/lib/llvm-$CLANG_VERSION/bin/llvm-symbolizer"
if [ -x "$symbolizer" ]; then
    export ASAN_SYMBOLIZER_PATH="$symbolizer"
fi

cmake -S "$ROOT" -B "$BUILD" \
    -DCMAKE_C_COMPILER="clang-$CLANG_VERSION" \
    -DCMAKE_CXX_COMPILER="clang++-$CLANG_VERSION" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOURLOG_FUZZ=ON \
    -DTOURLOG_BUILD_TESTS=OFF \
    -DTOURLOG_BUILD_BENCH=OFF
cmake --build "$BUILD" -j "$(nproc)" --target "${TARGETS[@]/#/fuzz_}"

# The settings target writes a file for every input: in memory that costs no flush to disk.
scratch_root="${TMPDIR:-/tmp}"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch_root=/dev/shm
fi

# New inputs go to a working corpus in the build folder; the committed seeds are only read.
run_target() {
    local name="$1"
    local work="$BUILD/fuzz-runs/$name"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    local options=(-max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$work/crashes/")
    if [ -f "$ROOT/fuzz/$name.dict" ]; then
        options+=(-dict="$ROOT/fuzz/$name.dict")
    fi
    local scratch
    scratch=$(mktemp -d -p "$scratch_root" tourlog-fuzz.XXXXXX)
    local status=0
    TMPDIR="$scratch" "$BUILD/fuzz/fuzz_$name" "${options[@]}" "$work/corpus" "$ROOT/fuzz/corpus/$name" \
        > "$work/log" 2>&1 || status=$?
    rm -rf "$scratch"
    echo "$status" > "$work/status"
}

for name in "${TARGETS[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    echo "Fuzzing $name for ${SECONDS_PER_TARGET}s"
    run_target "$name" &
done
wait

failed=0
printf '\n%-18s %14s %8s\n' target executions crashes
for name in "${TARGETS[@]}"; do
    work="$BUILD/fuzz-runs/$name"
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    crashes=$(find "$work/crashes" -type f \( -name "crash-*" -o -name "timeout-*" -o -name "oom-*" -o -name "leak-*" \) | wc -l)
    status=$(cat "$work/status")
    if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then
        crashes=1 # the fuzzer ended abnormally without leaving an input behind
    fi
    printf '%-18s %14s %8s\n' "$name" "${executions:-?}" "$crashes"
    if [ "$crashes" -ne 0 ]; then
        failed=1
    fi
done
for name in "${TARGETS[@]}"; do
    work="$BUILD/fuzz-runs/$name"
    if [ "$(cat "$work/status")" -ne 0 ]; then
        echo "=== $name failed; its log ends:"
        tail -n 60 "$work/log"
        find "$work/crashes" -type f -printf 'input kept in %p\n'
    fi
done
exit "$failed"
