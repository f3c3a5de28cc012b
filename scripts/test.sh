#!/usr/bin/env bash
# Sets up and builds (warnings as errors), checks the code's layout (check-format.sh) and its clang-tidy
# findings (check-tidy.sh) and runs every test headless; then runs the store and contest tests again under
# the sanitizers (sanitize.sh) and fuzzes the readers of outside input (fuzz.sh).
set -euo pipefail
EXTRA_CMAKE_ARGS="-DTOURLOG_WERROR=ON ${EXTRA_CMAKE_ARGS:-}"
# clang and its runtimes (libFuzzer among them) for fuzz.sh; gcc brings its own sanitizers
# node and npm: a logbook's ADIF reader that is not ours reads the exports back (a node from elsewhere
# brings its own npm, and Debian's npm package would conflict with it)
NODE_PACKAGES="nodejs"
command -v npm > /dev/null || NODE_PACKAGES="nodejs npm"
EXTRA_PACKAGES="clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14 $NODE_PACKAGES ${EXTRA_PACKAGES:-}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# from the npm registry; a registry out of reach skips that one test, and says so, rather than fail the rest
if npm install --prefix "$TOURLOG_BUILD/external" --no-audit --no-fund --silent adif-parser-ts@0.7.7; then
    export TOURLOG_EXTERNAL_READERS="$TOURLOG_BUILD/external/node_modules"
else
    echo "warning: adif-parser-ts could not be installed from the npm registry; its read-back test is skipped" >&2
fi
"$TOURLOG_ROOT/scripts/check-format.sh"
TOURLOG_BUILD="$TOURLOG_BUILD" "$TOURLOG_ROOT/scripts/check-tidy.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$TOURLOG_BUILD" && ctest --output-on-failure -j "$(nproc)")
"$TOURLOG_ROOT/scripts/sanitize.sh"
"$TOURLOG_ROOT/scripts/fuzz.sh"
