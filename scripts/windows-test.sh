#!/usr/bin/env bash
# Tries the Windows build under Wine, on a virtual screen (called by `scripts/windows.sh test`):
#   1. the tests of the store, the contest and the reliability layers, as Windows programs, through ctest;
#   2. the real window: a participant and a contact typed in, Report.txt written, a clean exit, a screenshot;
#   3. the installer: a silent install, the program and its Start-menu entry in place, a silent uninstall.
set -euo pipefail

TOURLOG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${TOURLOG_WINDOWS_CACHE:-$HOME/.cache/tourlog-windows}"
BUILD="${TOURLOG_WINDOWS_BUILD:-$TOURLOG_ROOT/build-windows}"
INSTALLER="${INSTALLER:-$(ls "$BUILD"/Tourlog-*-setup.exe)}"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

export WINEPREFIX="$BUILD/wine" WINEARCH=win64 WINEDEBUG=-all
# no Mono or Gecko: nothing here needs them, and Wine would offer to download them
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init
    wineserver --wait
fi

windows_path() {
    winepath -w "$1" 2> /dev/null
}

# Qt's DLLs and the MinGW runtime, for the test programs, which are not staged beside them
WINEPATH="$(windows_path "$CACHE/qt/bin")"
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    WINEPATH="$WINEPATH;$(windows_path "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")"
done
export WINEPATH

echo "== The tests of the store, contest and reliability layers, under Wine"
(cd "$BUILD" && ctest --output-on-failure -j "$(nproc)" -R '^(store|contest|reliability)_')

# Waits until the window whose title begins with $1 is shown; prints its id.
wait_for_window() {
    local id
    for _ in $(seq 1 120); do
        id=$(xdotool search --onlyvisible --name "^$1" 2> /dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.5
    done
    echo "No window \"$1\" appeared" >&2
    return 1
}

type_into() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" 2> /dev/null || true
    xdotool "$@"
    sleep 1
}

echo "== The window under Wine: a participant and a contact by keyboard"
FOLDER=$(mktemp -d)
SETTINGS=$(mktemp -d)
trap 'rm -rf "$FOLDER" "$SETTINGS"' EXIT
APPDATA_DIR="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Tourlog"
rm -rf "$APPDATA_DIR"
wine "$BUILD/stage/tourlog.exe" "$(windows_path "$FOLDER")" &
PROGRAM=$!
MAIN=$(wait_for_window "Tourlog")
sleep 2
# Insert adds a participant to the 80 m SSB column, and Enter on it asks for what was received.
type_into "$MAIN" key Insert
type_into "$(wait_for_window "Tourlog")" type RA3ABC
type_into "$MAIN" key Return
type_into "$MAIN" key Return
type_into "$(wait_for_window "Tourlog")" type "23 015"
type_into "$MAIN" key Return
import -window root "$BUILD/wine-window.png"
type_into "$MAIN" key alt+F4
for _ in $(seq 1 60); do
    kill -0 "$PROGRAM" 2> /dev/null || break
    sleep 0.5
done
if kill -0 "$PROGRAM" 2> /dev/null; then
    echo "Tourlog did not exit after Alt+F4" >&2
    exit 1
fi
wait "$PROGRAM" || { echo "Tourlog exited with an error" >&2; exit 1; }
grep -a "RA3ABC" "$FOLDER/Report.txt" > /dev/null || { echo "Report.txt does not hold the contact" >&2; exit 1; }
[ -f "$APPDATA_DIR/tourlog.INI" ] || { echo "The settings were not written to %APPDATA%\\Tourlog" >&2; exit 1; }
echo "Report.txt holds the contact; the settings are in %APPDATA%\\Tourlog\\tourlog.INI; screenshot: $BUILD/wine-window.png"

echo "== The installer under Wine: silent install and uninstall"
PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Tourlog"
SHORTCUT="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tourlog.lnk"
wine "$INSTALLER" /S
wineserver --wait
for file in "$PROGRAM_DIR/tourlog.exe" "$PROGRAM_DIR/Qt6Widgets.dll" "$PROGRAM_DIR/platforms/qwindows.dll" \
    "$PROGRAM_DIR/uninstall.exe" "$SHORTCUT"; do
    [ -f "$file" ] || { echo "The installer did not install $file" >&2; exit 1; }
done
wine "$PROGRAM_DIR/uninstall.exe" /S
wineserver --wait
# the uninstaller runs from a copy of itself and returns at once
for _ in $(seq 1 60); do
    [ -e "$PROGRAM_DIR" ] || [ -e "$SHORTCUT" ] || break
    sleep 0.5
done
if [ -e "$PROGRAM_DIR" ] || [ -e "$SHORTCUT" ]; then
    echo "The uninstaller left $PROGRAM_DIR or the Start-menu entry behind" >&2
    exit 1
fi
echo "Installed and uninstalled silently"
