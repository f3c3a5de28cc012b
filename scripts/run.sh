#!/usr/bin/env bash
# Sets up, builds and starts Tourlog in a contest folder (default: ~/Tourlog).
set -euo pipefail
CONTEST_DIR="${1:-$HOME/Tourlog}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
mkdir -p "$CONTEST_DIR"
cd "$CONTEST_DIR"
exec "$TOURLOG_BUILD/app/tourlog"
