#!/bin/sh
# tlhost configure on a machine without a display: the dialog is refused with a status line that
# says why, nothing is written, and the exit status is 1.
set -u
tlhost=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tlhost" --db "$dir/t.db" db init >/dev/null || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tlhost" --db "$dir/t.db" configure '\Scripts\Losses1\' \
  >"$dir/out" 2>"$dir/err"
status=$?
fail() { echo "FAIL: $1"; echo "--- stdout"; cat "$dir/out"; echo "--- stderr"; cat "$dir/err"; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
grep -q 'Losses1: Диалог настроек не открыт: нет графического дисплея' "$dir/err" || fail "no status line"
grep -q 'could not be opened' "$dir/err" || fail "no error message"
[ ! -s "$dir/out" ] || fail "stdout is not empty"
echo "ok"
