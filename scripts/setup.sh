#!/usr/bin/env bash
# Installs what Tourlog needs on Debian 12 / Ubuntu 24.04 and builds it into build/.
# Sourced by run.sh and test.sh; BUILD_TYPE, EXTRA_CMAKE_ARGS and EXTRA_PACKAGES may be set by the caller.
set -euo pipefail

TOURLOG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TOURLOG_BUILD="${TOURLOG_BUILD:-$TOURLOG_ROOT/build}"

PACKAGES=(g++ make cmake qt6-base-dev qt6-qpa-plugins libgl-dev libsqlite3-dev libbenchmark-dev xvfb xauth tzdata fonts-dejavu-extra pkg-config libhamlib-dev libhamlib-utils cwdaemon librapidcheck-dev ${EXTRA_PACKAGES:-})

source "$TOURLOG_ROOT/scripts/packages.sh"

build_tourlog() {
    cmake -S "$TOURLOG_ROOT" -B "$TOURLOG_BUILD" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" ${EXTRA_CMAKE_ARGS:-}
    cmake --build "$TOURLOG_BUILD" -j "$(nproc)"
}

install_missing
build_tourlog
