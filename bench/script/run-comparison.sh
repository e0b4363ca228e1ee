#!/usr/bin/env bash
# The formula script engine beside Lua 5.4 and LuaJIT on the calculation-script workload, in one
# run on one core: compile time of the run script, element blocks per second with the results
# stored and with the printed results read back. Prints one table with the ratio engine / Lua 5.4.
#
#   bench/script/run-comparison.sh [build-dir]     (default: build/script-bench-release)
#   REPS=5 bench/script/run-comparison.sh          (repetitions per measure, median shown)
#
# A missing Lua VM (liblua5.4-dev, libluajit-5.1-dev) leaves its column empty.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/script-bench-release}
reps=${REPS:-3}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTL_BUILD_TESTS=OFF -DTL_BUILD_BENCH=ON >/dev/null
fi
targets=(script_bench)
known=$(cmake --build "$build" --target help)
for vm in lua_ref_bench luajit_ref_bench; do
    if grep -q "^\.\.\. $vm\$" <<<"$known"; then
        targets+=("$vm")
    fi
done
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

# One core, the same for every program, when the machine has more than one.
pin=()
if command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
    pin=(taskset -c 1)
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for bench in "${targets[@]}"; do
    echo "running $bench ..." >&2
    "${pin[@]}" "$build/bin/$bench" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
        --benchmark_format=json --benchmark_out_format=json --benchmark_out="$out/$bench.json" >/dev/null
done

python3 - "$out" <<'EOF'
import json, os, sys

out = sys.argv[1]

def medians(name):
    path = os.path.join(out, name + ".json")
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median" or b.get("error_occurred"):
            continue
        result[b["run_name"]] = b
    return result

engine = medians("script_bench")
lua = medians("lua_ref_bench")
jit = medians("luajit_ref_bench")

def ms(runs, name):
    b = runs.get(name)
    if b is None:
        return None
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["cpu_time"] * scale

def rate(runs, name):
    b = runs.get(name)
    return None if b is None else b.get("items_per_second")

def cell(value, kind):
    if value is None:
        return "-"
    return f"{value:.1f} ms" if kind == "ms" else f"{value / 1e6:.2f} M/s"

rows = []
for n in (1000, 10000):
    rows.append((f"compile {n} blocks", "ms", f"BM_Compile/{n}", f"BM_Compile/{n}", None))
for n in (1000, 10000):
    rows.append((f"stored, {n} blocks", "rate", f"BM_ExecuteStored/{n}", f"BM_ExecuteStored/{n}",
                 f"BM_ExecuteStoredInterpreted/{n}"))
for n in (1000, 10000):
    rows.append((f"print/parse, {n} blocks", "rate", f"BM_ExecutePrintParse/{n}", f"BM_ExecutePrintParse/{n}",
                 f"BM_ExecutePrintParseInterpreted/{n}"))
for n in (1000, 10000):
    rows.append((f"print/driver parse, {n}", "rate", f"BM_ExecutePrintParseDriver/{n}", None, None))

header = ("measure", "engine", "Lua 5.4", "LuaJIT", "LuaJIT -joff", "engine/Lua 5.4")
lines = []
for label, kind, engine_name, ref_name, interp_name in rows:
    get = ms if kind == "ms" else rate
    e = get(engine, engine_name)
    l = get(lua, ref_name) if ref_name else None
    j = get(jit, ref_name) if ref_name else None
    ji = get(jit, interp_name) if interp_name else None
    ratio = f"{e / l:.2f}x" if e is not None and l else "-"
    lines.append((label, cell(e, kind), cell(l, kind), cell(j, kind), cell(ji, kind), ratio))

widths = [max(len(str(r[i])) for r in [header] + lines) for i in range(len(header))]
def show(r):
    print("  ".join(str(c).ljust(w) if i == 0 else str(c).rjust(w) for i, (c, w) in enumerate(zip(r, widths))))
show(header)
print("  ".join("-" * w for w in widths))
for r in lines:
    show(r)
allocs = [engine[k]["allocs/exec"] for k in sorted(engine) if "allocs/exec" in engine[k]]
if allocs:
    print(f"\nengine heap allocations per execution: {', '.join(str(int(a)) for a in allocs)}")
print("compile: CPU time (ratio: engine time / Lua time); execution: element blocks per CPU second "
      "(ratio: engine rate / Lua rate); medians.")
EOF
