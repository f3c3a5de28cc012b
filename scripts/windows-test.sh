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
# Wine's server and its services start here, once for every program below.
wineserver --persistent 2> /dev/null || true # or one is running already
trap 'wineserver --kill 2> /dev/null || true' EXIT
wine wineboot --init > /dev/null 2>&1 < /dev/null

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
# One by one, each writing its own log, rather than through ctest: a console that Wine keeps for a
# killed child would hold ctest's output open, and ctest would wait for it long after the tests end.
LOGS="$BUILD/wine-tests"
rm -rf "$LOGS" && mkdir -p "$LOGS"
FAILED=()
PASSED=0
for test in $(ctest --test-dir "$BUILD" -N -R '^(store|contest|reliability)_' | sed -n 's/^ *Test *#[0-9]*: //p'); do
    log="$LOGS/$test.txt"
    if QT_QPA_PLATFORM=offscreen timeout 900 wine "$BUILD/tests/$test.exe" -o "$(windows_path "$log"),txt" \
        > /dev/null 2>&1 < /dev/null; then
        PASSED=$((PASSED + 1))
        echo "passed  $test: $(grep -a '^Totals' "$log")"
    else
        FAILED+=("$test")
        echo "FAILED  $test"
        grep -av '^PASS' "$log" || true
    fi
done
echo "$PASSED of $((PASSED + ${#FAILED[@]})) Windows test programs passed under Wine"
[ ${#FAILED[@]} -eq 0 ] || exit 1

# Waits until a window whose title begins with $1 is shown; prints its id.
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

# Keys or text for the window $1, which gets the focus first.
keys_for() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" 2> /dev/null || true
    xdotool "$@"
    sleep 1.5
}

# Closes the window $1 with Alt+F4 and waits for its program $2 to end cleanly.
close_cleanly() {
    keys_for "$1" key alt+F4
    for _ in $(seq 1 60); do
        kill -0 "$2" 2> /dev/null || break
        sleep 0.5
    done
    if kill -0 "$2" 2> /dev/null; then
        echo "Tourlog did not exit after Alt+F4" >&2
        exit 1
    fi
    wait "$2" || { echo "Tourlog exited with an error" >&2; exit 1; }
}

start_tourlog() {
    wine "$BUILD/stage/tourlog.exe" "$(windows_path "$FOLDER")" > "$BUILD/wine-window.log" 2>&1 &
    PROGRAM=$!
    MAIN=$(wait_for_window "Tourlog 1")
}

echo "== The window under Wine: a participant and a contact by keyboard"
FOLDER=$(mktemp -d)
trap 'rm -rf "$FOLDER"; wineserver --kill 2> /dev/null || true' EXIT
APPDATA_DIR="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Tourlog"
rm -rf "$APPDATA_DIR"
# the first start makes the tables; the contest is then set to begin a minute ago, so that tour 1 runs
start_tourlog
close_cleanly "$MAIN" "$PROGRAM"
BEGAN=$(date -d '-1 min' '+%d.%m.%y %H:%M:%S')
sed -i "s/^Begin=.*/Begin=${BEGAN% *}/; s/^StartTime=.*/StartTime=${BEGAN#* }/; s/^Tour=.*/Tour=1/" "$FOLDER/ContestSettings.ini"
start_tourlog
# a click in the 80 m SSB column; Insert adds a participant, and Enter on it asks for what was received
xdotool mousemove --window "$MAIN" 110 290 click 1
keys_for "$MAIN" key Insert
keys_for "$(wait_for_window "Ввод нового позывного")" type RA3ABC
keys_for "$MAIN" key Return
keys_for "$MAIN" key Return
keys_for "$(wait_for_window "Ввод принятого кода")" type "23 015"
keys_for "$MAIN" key Return
sleep 2
import -window root "$BUILD/wine-window.png"
grep -a "RA3ABC" "$FOLDER/Report.txt" > /dev/null || { echo "Report.txt does not hold the contact" >&2; exit 1; }
# a second copy in the same folder is refused, by the lock file of the first, and says why in a box
wine "$BUILD/stage/tourlog.exe" "$(windows_path "$FOLDER")" > "$BUILD/wine-second.log" 2>&1 &
SECOND=$!
keys_for "$(wait_for_window "Tourlog$")" key Return
wait "$SECOND" 2> /dev/null || true
grep -q "already running" "$BUILD/wine-second.log" || { echo "A second copy was not refused" >&2; exit 1; }
close_cleanly "$MAIN" "$PROGRAM"
grep -q "^Serial=2" "$FOLDER/ContestSettings.ini" || { echo "The serial was not carried on" >&2; exit 1; }
[ -f "$APPDATA_DIR/tourlog.INI" ] || { echo "The settings were not written to %APPDATA%\\Tourlog" >&2; exit 1; }
echo "A contact typed in, Report.txt written, a second copy refused, a clean exit, the settings in" \
    "%APPDATA%\\Tourlog\\tourlog.INI; screenshot: $BUILD/wine-window.png"

echo "== The installer under Wine: silent install and uninstall"
PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Tourlog"
SHORTCUT="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tourlog.lnk"
wine "$INSTALLER" /S
for file in "$PROGRAM_DIR/tourlog.exe" "$PROGRAM_DIR/Qt6Widgets.dll" "$PROGRAM_DIR/platforms/qwindows.dll" \
    "$PROGRAM_DIR/uninstall.exe" "$SHORTCUT"; do
    [ -f "$file" ] || { echo "The installer did not install $file" >&2; exit 1; }
done
wine "$PROGRAM_DIR/uninstall.exe" /S
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
