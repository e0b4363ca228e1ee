#!/bin/sh
# Fills a fuzzing corpus directory with the script engine's test programs (the script-file cases,
# the differential programs, the regression inputs). Files already there, the fuzzer's own finds,
# are kept.
# Usage: fuzz/gather_corpus.sh [corpus-dir]   (default: build/fuzz/corpus-work)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${1:-$root/build/fuzz/corpus-work}
mkdir -p "$corpus"
count=0
for file in "$root"/tests/script/cases/*.pas "$root"/tests/script/cases/*.inc \
            "$root"/tests/script/differential/cases/*.pas "$root"/tests/script/differential/own/*.pas \
            "$root"/tests/script/fuzz_regressions/*; do
  [ -f "$file" ] || continue
  cp "$file" "$corpus/seed_$(basename "$(dirname "$file")")_$(basename "$file")"
  count=$((count + 1))
done
echo "$count seed scripts in $corpus"
