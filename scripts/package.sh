#!/usr/bin/env bash
# Builds a Release of Tourlog into build-package/ and packs it as a Debian package; prints the package's path.
set -euo pipefail
export TOURLOG_BUILD="${TOURLOG_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build-package}"
export BUILD_TYPE=Release
export EXTRA_CMAKE_ARGS="-DTOURLOG_BUILD_TESTS=OFF -DTOURLOG_BUILD_BENCH=OFF ${EXTRA_CMAKE_ARGS:-}"
# the package's dependencies are read from the binary (dpkg-shlibdeps, which needs file)
export EXTRA_PACKAGES="dpkg-dev file ${EXTRA_PACKAGES:-}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" >&2
rm -f "$TOURLOG_BUILD"/tourlog_*.deb
(cd "$TOURLOG_BUILD" && cpack -G DEB) >&2
ls "$TOURLOG_BUILD"/tourlog_*.deb
