#!/bin/sh
# Runs script_fuzzer on one core over the gathered corpus; crash, timeout and OOM inputs land in
# build/fuzz/artifacts, the log in build/fuzz/fuzz-0.log. Extra arguments go to libFuzzer (e.g. -max_total_time=60).
# Usage: fuzz/run_script_fuzzer.sh [libFuzzer options...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
"$root/fuzz/gather_corpus.sh" "$build/corpus-work"
mkdir -p "$build/artifacts"
# With -jobs the run goes to a child process whose log is fuzz-0.log in the current directory.
cd "$build"
exec "$build/bin/script_fuzzer" "$build/corpus-work" \
  -dict="$root/fuzz/script.dict" -artifact_prefix="$build/artifacts/" \
  -jobs=1 -workers=1 -timeout=5 -rss_limit_mb=2048 -max_len=4096 -max_total_time=660 \
  -print_final_stats=1 "$@"
