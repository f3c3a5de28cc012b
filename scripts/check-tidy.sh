#!/usr/bin/env bash
# Fails when clang-tidy (14, as Debian 12 ships it) warns about the program's own sources under the checks
# of .clang-tidy. Reads the compile commands of the build folder (build/, or TOURLOG_BUILD), so run it after
# the build: the moc headers must exist by then. The tests are left out: QTest's macros are what most of
# their warnings would be about, and they would double the run.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TOURLOG_BUILD:-$ROOT/build}"
TIDY=clang-tidy-14
if ! command -v "$TIDY" > /dev/null; then
    echo "$TIDY is missing: install clang-tidy-14 (scripts/setup.sh does)" >&2
    exit 2
fi
if [ ! -f "$BUILD/compile_commands.json" ]; then
    echo "No compile commands in $BUILD: build first (scripts/setup.sh does)" >&2
    exit 2
fi
cd "$ROOT"
mapfile -t files < <(git ls-files 'app/*.cpp' 'store/*.cpp' 'contest/*.cpp' 'widgets/*.cpp' 'shell/*.cpp')
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
# One log per file, shown whole at the end, so that the parallel runs do not interleave their lines; a run
# that fails leaves a mark beside its log even when it printed no warning (a crash, a missing header).
status=0
# shellcheck disable=SC2016 # the inner shell expands its own arguments
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -I{} sh -c \
    'log="$3/$(echo "$4" | tr / _)"; "$1" -p "$2" --quiet "$4" > "$log.log" 2>&1 || touch "$log.failed"' \
    _ "$TIDY" "$BUILD" "$logs" {} || status=$?
failed=0
for file in "${files[@]}"; do
    log="$logs/$(echo "$file" | tr / _)"
    if [ -e "$log.failed" ] || grep -q -E '(warning|error):' "$log.log"; then
        grep -v -E '^[0-9]+ (warning|error)s? (generated|treated as errors)\.$' "$log.log" || true
        echo "-- $file: clang-tidy failed"
        failed=$((failed + 1))
    fi
done
if [ "$status" -ne 0 ] || [ "$failed" -ne 0 ]; then
    echo "clang-tidy: $failed of ${#files[@]} files fail, as shown above (a false finding: NOLINT with a reason)" >&2
    exit 1
fi
echo "clang-tidy: ${#files[@]} files without findings"
