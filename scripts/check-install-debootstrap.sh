#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 root (debootstrap, no build tools) with apt-get, starts
# the installed tourlog there on a virtual screen in a new contest folder, checks that it made its tables
# and shows its window, and keeps a screenshot to look at.
# Usage: check-install-debootstrap.sh [PACKAGE.deb]  (default: the one package.sh builds)
# TOURLOG_CHROOT_WORK: the folder for the root and the screenshot (default: a new temporary one).
# Skips itself where debootstrap is missing or when not run as root (chroot needs root).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MIRROR="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

if ! command -v debootstrap >/dev/null || ! command -v Xvfb >/dev/null || [ "$(id -u)" -ne 0 ]; then
    echo "Skipped: the clean-root install check needs root, debootstrap and Xvfb."
    exit 0
fi

# to find the window and take its picture
for pkg in xdotool imagemagick; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$pkg"
    fi
done

DEB="${1:-$("$ROOT/scripts/package.sh")}"
WORK="${TOURLOG_CHROOT_WORK:-$(mktemp -d)}"
CHROOT="$WORK/root"
mkdir -p "$WORK"

XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    for mounted in "$CHROOT/tmp/.X11-unix" "$CHROOT/proc"; do
        mountpoint -q "$mounted" && umount "$mounted" || true
    done
    # a root made for this run alone goes; the screenshot stays
    if [ -z "${TOURLOG_CHROOT_WORK:-}" ] && ! mountpoint -q "$CHROOT/proc" \
        && ! mountpoint -q "$CHROOT/tmp/.X11-unix"; then
        rm -rf "$CHROOT"
    fi
}
trap cleanup EXIT

if [ ! -f "$CHROOT/etc/debian_version" ]; then
    # a mirror out of reach says nothing about the package: the check is skipped, not passed
    if ! debootstrap --variant=minbase bookworm "$CHROOT" "$MIRROR"; then
        echo "Skipped: debootstrap could not make a Debian 12 root from $MIRROR."
        exit 0
    fi
fi
cp /etc/resolv.conf "$CHROOT/etc/resolv.conf"
mount -t proc proc "$CHROOT/proc"
cp "$DEB" "$CHROOT/tmp/"
chroot "$CHROOT" apt-get update -q
chroot "$CHROOT" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./tmp/$(basename "$DEB")"
if chroot "$CHROOT" sh -c 'command -v cc || command -v g++ || command -v cmake'; then
    echo "The root is not clean: it holds build tools." >&2
    exit 1
fi

# the screen runs outside, its socket is shared with the root
DISPLAY_NUMBER=90
while [ -e "/tmp/.X$DISPLAY_NUMBER-lock" ]; do DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1)); done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x900x24 -nolisten tcp &
XVFB_PID=$!
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done
mkdir -p "$CHROOT/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$CHROOT/tmp/.X11-unix"

# a new folder in the home of the root's own user, as an operator would make one
ROOT_HOME="$(chroot "$CHROOT" getent passwd root | cut -d: -f6)"
CONTEST="$ROOT_HOME/contests/first"
chroot "$CHROOT" env HOME="$ROOT_HOME" DISPLAY=":$DISPLAY_NUMBER" tourlog "$CONTEST" &
APP_PID=$!
for _ in $(seq 100); do
    DISPLAY=":$DISPLAY_NUMBER" xdotool search --name "Tourlog 1.03" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2
DISPLAY=":$DISPLAY_NUMBER" xdotool search --name "Tourlog 1.03 \(2006\) - $CONTEST"
for table in Callsign Contest Journal; do
    test -s "$CHROOT$CONTEST/$table.db"
done
DISPLAY=":$DISPLAY_NUMBER" import -window root "$WORK/installed-window.png"
kill "$APP_PID"
wait "$APP_PID" || true
APP_PID=""
echo "The installed tourlog started in a clean Debian 12 root; its window: $WORK/installed-window.png"
