// Executions of a compiled run script of 10,000 element blocks, each reading its element's energy
// and power with W, P and W2 and its transformer losses with T2_LossesW_A, against a data list of
// 20,000 rows (two channels per element) in a 30-minute interval. Reports blocks per second and
// the heap allocations of one execution.
#include "alloc_counter.hpp"
#include "tldata/data_list.hpp"
#include "tlscript/engine.hpp"
#include "tlunit/script_data_module.hpp"

#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <string>

namespace tl {
namespace {

constexpr int kElements = 10'000;

// The text the script assembly produces for these formulas: one guarded block per element that
// prints its two results.
std::string RunScript(bool with_output) {
    std::string text =
        fmt::format("var __var0, __var1: array [1..{0}] of Float;\r\nvar __i: Integer;\r\n"
                    "for __i := 1 to {0} do begin\r\n  __var0[__i] := 0; __var1[__i] := 0;\r\nend;",
                    kElements);
    for (int k = 1; k <= kElements; ++k) {
        const std::string formula =
            fmt::format("__var0[{0}] := W({1}, 1) + W2({1}, 0, 2) * 0.5; "
                        "__var1[{0}] := T2_LossesW_A(2.1, 11.5, 400, 0, 0, P({1}, 1))",
                        k, 1000 + k);
        if (with_output) {
            text += fmt::format("\r\ntry \r\n  {0};\r\n  Print('Result0=');\r\n  PrintLn(__var0[{1}]);\r\n"
                                "  Print('Result1=');\r\n  PrintLn(__var1[{1}]);\r\nexcept\r\n"
                                "  on E: Exception do begin\r\n    Print('Result0=Err:');\r\n"
                                "    PrintLn(E.message);\r\n    Print('Result1=Err:');\r\n"
                                "    PrintLn(E.message);\r\n  end;\r\nend;",
                                formula, k);
        } else {
            text += "\r\n" + formula + ";";
        }
    }
    return text;
}

void ExecuteBlocks(benchmark::State& state, bool with_output) {
    ScriptDataModule module;
    auto program = module.Engine().Compile(RunScript(with_output));
    if (program->HasCompileErrors()) {
        state.SkipWithError("the run script does not compile");
        return;
    }
    TDataList rows;
    for (int k = 1; k <= kElements; ++k) {
        for (int item = 1; item <= 2; ++item) {
            TDataRow row;
            row.object = 1000 + k;
            row.item = item;
            row.value = 10.0 * k + item;
            rows.Add(row);
        }
    }
    ScriptContext context;
    context.data = &rows;
    context.interval_index = 7;
    context.interval_time = 45'000.5;
    int64_t allocations = 0;
    for (auto _ : state) {
        module.SetScriptContext(context);
        const int64_t before = bench::AllocationCount();
        const bool ok = program->Execute();
        allocations = bench::AllocationCount() - before;
        module.ClearScriptContext();
        if (!ok) {
            state.SkipWithError("the run script failed");
            return;
        }
        benchmark::DoNotOptimize(program->Output().data());
    }
    state.counters["blocks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kElements, benchmark::Counter::kIsRate);
    state.counters["allocs/exec"] = static_cast<double>(allocations);
}

void BM_RunScriptBlocks(benchmark::State& state) {
    ExecuteBlocks(state, true);
}

// The same formulas without the guard and the printed results: what the unit's calls cost.
void BM_FormulaBlocksOnly(benchmark::State& state) {
    ExecuteBlocks(state, false);
}

BENCHMARK(BM_RunScriptBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormulaBlocksOnly)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tl

BENCHMARK_MAIN();
