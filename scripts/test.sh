#!/usr/bin/env bash
# Sets up, builds (warnings as errors) and runs every test headless.
set -euo pipefail
EXTRA_CMAKE_ARGS="-DTOURLOG_WERROR=ON ${EXTRA_CMAKE_ARGS:-}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$TOURLOG_BUILD"
ctest --output-on-failure -j "$(nproc)"
