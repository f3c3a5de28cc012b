#!/usr/bin/env bash
# Builds the table store, the contest operations and their tests (with the reliability tests) under
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs them. Every report of either
# sanitizer, in a test or in a process that a test starts, fails the run. Qt itself is not instrumented.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TOURLOG_ASAN_BUILD:-$ROOT/build-asan}"
LAYERS=(store contest reliability)
SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$ROOT" -B "$BUILD" \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 $SANITIZE" \
    -DCMAKE_C_FLAGS="-O1 $SANITIZE" \
    -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE" \
    -DTOURLOG_BUILD_BENCH=OFF

targets=()
for layer in "${LAYERS[@]}"; do
    for source in "$ROOT"/tests/"$layer"/test_*.cpp; do
        targets+=("${layer}_$(basename "$source" .cpp)")
    done
done
cmake --build "$BUILD" -j "$(nproc)" --target "${targets[@]}"

# Reports go to files, so that one from a child process (the crash-test driver) is seen as well.
reports="$BUILD/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
export QT_QPA_PLATFORM=offscreen
# the model test's sequences are many times slower here: fewer of them
export RC_PARAMS="${RC_PARAMS:-max_success=40 max_size=60}"

pattern="^($(IFS='|'; echo "${LAYERS[*]}"))_"
status=0
(cd "$BUILD" && ctest --output-on-failure -j "$(nproc)" -R "$pattern") || status=1

if compgen -G "$reports/*" > /dev/null; then
    for report in "$reports"/*; do
        echo "=== $report"
        cat "$report"
    done
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "Sanitizer run failed" >&2
fi
exit "$status"
