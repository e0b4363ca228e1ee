#!/bin/sh
# Runs settings_json_fuzzer or coefficient_record_fuzzer on one core, seeded with the regression
# inputs of its tests; crash, timeout and OOM inputs land in build/fuzz/artifacts, the log in
# build/fuzz/<name>-0.log... Extra arguments go to libFuzzer (e.g. -max_total_time=60).
# Usage: fuzz/run_property_fuzzer.sh settings_json|coefficient_record [libFuzzer options...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
name=$1
shift
case $name in
settings_json) regressions=$root/tests/settings/fuzz_regressions ;;
coefficient_record) regressions=$root/tests/params/fuzz_regressions ;;
*) echo "usage: $0 settings_json|coefficient_record [libFuzzer options...]" >&2; exit 2 ;;
esac
corpus=$build/corpus-$name
mkdir -p "$corpus" "$build/artifacts" "$build/$name"
cp "$regressions"/* "$corpus"/
# With -jobs the run goes to a child process whose log is fuzz-0.log in the current directory.
cd "$build/$name"
exec "$build/bin/${name}_fuzzer" "$corpus" \
  -dict="$root/fuzz/$name.dict" -artifact_prefix="$build/artifacts/" \
  -jobs=1 -workers=1 -timeout=5 -rss_limit_mb=2048 -max_len=4096 -max_total_time=600 \
  -print_final_stats=1 "$@"
