#!/usr/bin/env bash
# Builds the Debian package (package.sh) and checks it: lintian finds no error, and the installed desktop
# entry and AppStream metainfo pass desktop-file-validate and appstreamcli validate --no-net.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

CHECK_PACKAGES=(lintian desktop-file-utils appstream)
missing=()
for pkg in "${CHECK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

DEB="$("$ROOT/scripts/package.sh")"
echo "Checking $DEB"
lintian --fail-on error "$DEB"

# the files as the package installs them
INSTALLED="$(mktemp -d)"
trap 'rm -rf "$INSTALLED"' EXIT
dpkg-deb -x "$DEB" "$INSTALLED"
desktop-file-validate "$INSTALLED"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$INSTALLED"/usr/share/metainfo/*.metainfo.xml
for size in 48x48 128x128 256x256 scalable; do
    ls "$INSTALLED"/usr/share/icons/hicolor/$size/apps/tourlog.* >/dev/null
done
zcat "$INSTALLED"/usr/share/man/man1/tourlog.1.gz | grep -q '^\.TH TOURLOG 1'
"$INSTALLED"/usr/bin/tourlog --version
echo "Package checks passed: $DEB"
