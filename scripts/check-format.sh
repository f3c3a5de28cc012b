#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from its layout in .clang-format (clang-format 14, as
# Debian 12 ships it). `scripts/check-format.sh --fix` rewrites the files instead.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FORMAT=clang-format-14
if ! command -v "$FORMAT" > /dev/null; then
    echo "$FORMAT is missing: install clang-format-14 (scripts/test.sh does)" >&2
    exit 2
fi
cd "$ROOT"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    "$FORMAT" -i "${files[@]}"
    exit 0
fi
if ! "$FORMAT" --dry-run --Werror "${files[@]}"; then
    echo "Layout differs from .clang-format: run scripts/check-format.sh --fix" >&2
    exit 1
fi
echo "Layout: ${#files[@]} files as .clang-format says"
