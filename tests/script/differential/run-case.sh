#!/bin/sh
# Runs one case of the differential corpus through the script runner and compares its standard
# output, byte for byte, with the expected output.
#
#   run-case.sh <script runner> <case.pas> <expected.out>
#
# Exit status 0 when the output matches and the runner ended with status 0; 1 otherwise, with a
# unified diff and the runner's standard error on standard output; 2 for a usage error.
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <script runner> <case.pas> <expected.out>" >&2
    exit 2
fi
runner=$1
case_file=$2
expected=$3
if [ ! -r "$expected" ]; then
    echo "cannot read the expected output $expected" >&2
    exit 2
fi
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
"$runner" "$case_file" >"$work/out" 2>"$work/err"
status=$?
if [ "$status" -eq 0 ] && cmp -s "$expected" "$work/out"; then
    exit 0
fi
echo "case $case_file"
if [ "$status" -ne 0 ]; then
    echo "the script runner ended with exit status $status (expected exit status 0)"
fi
if ! cmp -s "$expected" "$work/out"; then
    echo "output differs from $expected"
    diff --text -u --label expected --label actual "$expected" "$work/out"
fi
if [ -s "$work/err" ]; then
    echo "standard error:"
    cat "$work/err"
fi
exit 1
