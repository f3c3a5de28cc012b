#!/usr/bin/env bash
# Sets up and builds (warnings as errors), checks the code's layout (check-format.sh) and its clang-tidy
# findings (check-tidy.sh) and runs every test headless; then runs the store and contest tests again under
# the sanitizers (sanitize.sh) and fuzzes the readers of outside input (fuzz.sh).
set -euo pipefail
EXTRA_CMAKE_ARGS="-DTOURLOG_WERROR=ON ${EXTRA_CMAKE_ARGS:-}"
# clang and its runtimes (libFuzzer among them) for fuzz.sh; gcc brings its own sanitizers
EXTRA_PACKAGES="clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14 ${EXTRA_PACKAGES:-}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
"$TOURLOG_ROOT/scripts/check-format.sh"
TOURLOG_BUILD="$TOURLOG_BUILD" "$TOURLOG_ROOT/scripts/check-tidy.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$TOURLOG_BUILD" && ctest --output-on-failure -j "$(nproc)")
"$TOURLOG_ROOT/scripts/sanitize.sh"
"$TOURLOG_ROOT/scripts/fuzz.sh"
