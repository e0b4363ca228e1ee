#!/usr/bin/env bash
# A whole run beside the serial floor, interleaved on the same generated database: one run_bench
# with --trace records the run's queries, then ROUNDS times serial_floor and run_bench in turn.
# Prints each program's time and peak memory per round, the medians, their ratios and the load
# average before and after.
#
#   bench/run/floor-comparison.sh BUILD-DIR [run_bench options]
#   ROUNDS=5 bench/run/floor-comparison.sh build/release --pairs 1000 --days 30
#   ROUNDS=5 bench/run/floor-comparison.sh build/release --method 1 --pairs 10000 --days 1
set -euo pipefail

build=${1:?build directory}
shift
rounds=${ROUNDS:-3}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "load before: $(uptime)"
"$bin/run_bench" "$@" --trace "$work/trace" >"$work/first" 2>&1 || { cat "$work/first"; exit 1; }
db=$(sed -n 's/^database \(from the cache\|generated in [0-9.]* s\): //p' "$work/first")
[ -n "$db" ] || { cat "$work/first"; echo "no database named" >&2; exit 1; }
echo "database: $db"

host_s=()
host_m=()
floor_s=()
floor_m=()
for round in $(seq 1 "$rounds"); do
    "$bin/serial_floor" --db "$db" --trace "$work/trace" >"$work/floor" 2>&1 || { cat "$work/floor"; exit 1; }
    "$bin/run_bench" "$@" >"$work/host" 2>&1 || { cat "$work/host"; exit 1; }
    fs=$(sed -n 's/^floor: run \([0-9.]*\) s.*/\1/p' "$work/floor")
    fm=$(sed -n 's/.*peak memory (ru_maxrss) \([0-9.]*\) MiB.*/\1/p' "$work/floor")
    hs=$(sed -n 's/^pairs .*: run \([0-9.]*\) s,.*/\1/p' "$work/host")
    hm=$(sed -n 's/.*peak (ru_maxrss) \([0-9.]*\) MiB.*/\1/p' "$work/host")
    printf 'round %d: floor %6.2f s %7.1f MiB | run_bench %6.2f s %7.1f MiB | ratio %.2f\n' \
        "$round" "$fs" "$fm" "$hs" "$hm" "$(echo "$hs / $fs" | bc -l)"
    floor_s+=("$fs"); floor_m+=("$fm"); host_s+=("$hs"); host_m+=("$hm")
done
cp "$work/floor" "$work/host" /tmp/ 2>/dev/null || true

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
fs=$(median "${floor_s[@]}"); fm=$(median "${floor_m[@]}")
hs=$(median "${host_s[@]}"); hm=$(median "${host_m[@]}")
printf 'median: floor %.2f s %.1f MiB | run_bench %.2f s %.1f MiB | time ratio %.2f, memory ratio %.2f\n' \
    "$fs" "$fm" "$hs" "$hm" "$(echo "$hs / $fs" | bc -l)" "$(echo "$hm / $fm" | bc -l)"
echo "last run_bench:"
cat "$work/host"
echo "load after: $(uptime)"
