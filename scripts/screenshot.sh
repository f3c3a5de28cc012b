#!/usr/bin/env bash
# Starts the real window under Xvfb in a scratch contest folder, adds a participant, logs one
# contact with the keyboard alone (Ins, a callsign, Enter; Enter, a code, Enter) and saves a screenshot.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default docs/window.png; needs a built build/)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUTPUT="$(realpath -m "${1:-$ROOT/docs/window.png}")"
TOURLOG="${TOURLOG_BUILD:-$ROOT/build}/app/tourlog"

for tool in xvfb-run xdotool import setxkbmap; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is missing: apt-get install xvfb xauth xdotool imagemagick x11-xkb-utils" >&2
        exit 2
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/contest" "$work/config"
# every tour shown, and no tour clock changing it while the picture is taken
printf '[TForm1]\r\nAutoChangeTour_Checked=False\r\nTour_Value=0\r\n' > "$work/config/tourlog.INI"

cat > "$work/drive.sh" <<DRIVE
set -e
export XDG_CONFIG_HOME="$work/config"
cd "$work/contest"
setxkbmap us
"$TOURLOG" &
sleep 3
window=\$(xdotool search --onlyvisible --name Tourlog | head -1)
xdotool windowfocus --sync "\$window"
sleep 0.5
xdotool key Insert; sleep 1
xdotool type --delay 50 RZ9ZZ; xdotool key Return; sleep 1
xdotool key Return; sleep 1
xdotool type --delay 50 "23 015"; xdotool key Return; sleep 1.5
import -window root -crop 1016x612+11+86 "$OUTPUT"
kill %1
DRIVE

mkdir -p "$(dirname "$OUTPUT")"
xvfb-run -a -s "-screen 0 1100x760x24" bash "$work/drive.sh"
echo "Saved $OUTPUT"
