#!/usr/bin/env bash
# Screenshots of the settings dialogs for docs/dialogs.md: builds tlhost and the screenshot tool
# (docs/tools/dialog_screenshots.cpp), makes the demo database and grabs each dialog of its two
# tasks under the offscreen platform (no display needed).
# Usage: scripts/dialog-screenshots.sh [BUILD_DIR] (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=docs/images/dialogs
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset "$(basename "$build")"
fi
cmake --build "$build" --target tlhost dialog_screenshots -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/tlhost" demo --db "$work/demo.db" >/dev/null
mkdir -p "$out" "$work/runtime"
chmod 700 "$work/runtime"
env -u TLOSSES_REFERENCE_DIR XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  "$build/bin/dialog_screenshots" "$(realpath "$build/bin")" "$work/demo.db" "$out"
ls "$out"
