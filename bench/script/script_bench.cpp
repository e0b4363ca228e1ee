// The reference workload on the formula script engine, beside lua_ref_bench: compile the
// N-element run script, then execute it once per stamp, with the results either left in the
// script's arrays or printed and read back line by line as the driver reads them.
#include "alloc_counter.hpp"
#include "tlassembly/output_lines.hpp"
#include "tlscript/engine.hpp"
#include "workload.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <malloc.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tl::bench::HostFunctions;
using tl::bench::Language;
using tl::bench::Output;
using tl::bench::RenderWorkload;
using tl::bench::StampValues;
using tl::script::CallFrame;
using tl::script::ValueType;

// What the host functions read. One per process, as the driver's script context.
StampValues g_values;

enum Tag : intptr_t { kEnergy, kPower };

// W and P in one handler, told apart by the registration tag, as the function unit does it.
void ReadValue(CallFrame& f) {
    const int code = f.Int(0);
    const int item = f.Int(1);
    f.ReturnFloat(f.Tag() == kEnergy ? HostFunctions::W(g_values, code, item)
                                     : HostFunctions::P(g_values, code, item));
}

void IntervalHours(CallFrame& f) {
    f.ReturnFloat(HostFunctions::kIntervalHours);
}

void TransformerLosses(CallFrame& f) {
    f.ReturnFloat(
        HostFunctions::T2LossesWA(f.Float(0), f.Float(1), f.Float(2), f.Float(3), f.Float(4), f.Float(5)));
}

std::unique_ptr<tl::script::Engine> MakeEngine() {
    auto engine = std::make_unique<tl::script::Engine>();
    const tl::script::ParamSpec code{ValueType::Integer};
    const tl::script::ParamSpec number{ValueType::Float};
    engine->RegisterUnit("MyUnit");
    engine->RegisterFunction({"MyUnit", "W", {code, code}, ValueType::Float, ReadValue, kEnergy});
    engine->RegisterFunction({"MyUnit", "P", {code, code}, ValueType::Float, ReadValue, kPower});
    engine->RegisterFunction({"MyUnit", "T", {}, ValueType::Float, IntervalHours});
    engine->RegisterFunction({"MyUnit",
                              "T2_LossesW_A",
                              {number, number, number, number, number, number},
                              ValueType::Float,
                              TransformerLosses});
    return engine;
}

// A compiled workload; a script that does not compile ends the benchmark with its messages.
std::unique_ptr<tl::script::Program> Prepare(benchmark::State& state, const tl::script::Engine& engine,
                                             Output output) {
    auto program = engine.Compile(RenderWorkload(Language::Script, output, static_cast<int>(state.range(0))));
    if (program->HasCompileErrors()) {
        state.SkipWithError(program->Messages().ToText().c_str());
        return nullptr;
    }
    return program;
}

void BM_Compile(benchmark::State& state) {
    auto engine = MakeEngine();
    const std::string source =
        RenderWorkload(Language::Script, Output::Printed, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto program = engine->Compile(source);
        if (program->HasCompileErrors()) {
            state.SkipWithError(program->Messages().ToText().c_str());
            break;
        }
        benchmark::DoNotOptimize(program.get());
    }
    state.counters["source_kB"] = static_cast<double>(source.size()) / 1024.0;
    // The heap a compiled program holds, taken apart from the timed loop.
    const size_t heap_before = mallinfo2().uordblks;
    auto program = engine->Compile(source);
    state.counters["program_kB"] = static_cast<double>(mallinfo2().uordblks - heap_before) / 1024.0;
}

// Heap allocations of the latest execution, reported per benchmark.
class AllocationProbe {
public:
    void Start() { before_ = tl::bench::AllocationCount(); }
    void Stop() { last_ = tl::bench::AllocationCount() - before_; }
    void Report(benchmark::State& state) const { state.counters["allocs/exec"] = static_cast<double>(last_); }

private:
    int64_t before_ = 0;
    int64_t last_ = 0;
};

// Executes the workload once per stamp; `check` looks at the output after each execution.
template <class Check>
void ExecuteRepeatedly(benchmark::State& state, Output output, Check check) {
    auto engine = MakeEngine();
    auto program = Prepare(state, *engine, output);
    if (program == nullptr) {
        return;
    }
    AllocationProbe allocations;
    std::uint32_t stamp = 0;
    for (auto _ : state) {
        g_values.Fill(++stamp);
        allocations.Start();
        const bool ok = program->Execute();
        allocations.Stop();
        if (!ok || !check(program->Output())) {
            state.SkipWithError("the script failed or its output is not what the workload prints");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    if (output == Output::Printed) {
        state.counters["output_kB"] = static_cast<double>(program->Output().size()) / 1024.0;
    }
    allocations.Report(state);
}

// Results stay in the script's arrays; nothing is printed.
void BM_ExecuteStored(benchmark::State& state) {
    ExecuteRepeatedly(state, Output::Stored, [](std::string_view output) { return output.empty(); });
}

// Every block prints its two result lines, read back by `read` after each execution.
template <class Read>
void ExecutePrinted(benchmark::State& state, Read read) {
    ExecuteRepeatedly(state, Output::Printed, read);
}

// The lines are read back by the reference workload's reader, the one the Lua benchmarks use.
void BM_ExecutePrintParse(benchmark::State& state) {
    const auto elements = static_cast<size_t>(state.range(0));
    std::vector<tl::bench::ElementResult> results;
    results.reserve(elements);
    ExecutePrinted(state, [&](std::string_view output) {
        const bool ok = tl::bench::ParseResults(output, results) && results.size() == elements;
        benchmark::DoNotOptimize(results.data());
        return ok;
    });
}

// The lines are read back by the driver's own reader: the output cut into lines, then each line
// parsed for its result number, with either decimal separator and the error texts.
void BM_ExecutePrintParseDriver(benchmark::State& state) {
    const auto elements = static_cast<size_t>(state.range(0));
    std::vector<std::string_view> lines;
    std::vector<double> values(2 * elements);
    ExecutePrinted(state, [&](std::string_view output) {
        tl::SplitOutputLines(output, lines);
        if (lines.size() != 2 * elements) {
            return false;
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            tl::OutputValue parsed = tl::ParseOutputLine(static_cast<int>(i % 2), lines[i]);
            if (!parsed.found || !parsed.error.empty()) {
                return false;
            }
            values[i] = parsed.value;
        }
        benchmark::DoNotOptimize(values.data());
        return true;
    });
}

// A program of its own, executed once per iteration.
std::unique_ptr<tl::script::Program> CompileOrSkip(benchmark::State& state, const tl::script::Engine& engine,
                                                   const std::string& source) {
    auto program = engine.Compile(source);
    if (program->HasCompileErrors()) {
        state.SkipWithError(program->Messages().ToText().c_str());
        return nullptr;
    }
    return program;
}

// Loop back edges and script calls, where the engine looks at its time limit and the host's
// interrupt flag: a loop of range(0) rounds, each calling a small function; range(1) 1 gives the
// engine a flag, as the driver always does (it stays down), 0 none, to show what polling it costs.
void BM_LoopsAndCalls(benchmark::State& state) {
    auto engine = MakeEngine();
    static int32_t interrupt_flag = 0;
    if (state.range(1) != 0) {
        engine->MutableSettings().interrupt_flag = &interrupt_flag;
    }
    auto program = CompileOrSkip(state, *engine,
                                 "function Sq(x: Float): Float; begin Result := x * x; end;\n"
                                 "var i: Integer; s: Float; s := 0;\n"
                                 "for i := 1 to " +
                                     std::to_string(state.range(0)) + " do s := s + Sq(i);\n");
    if (program == nullptr) {
        return;
    }
    for (auto _ : state) {
        if (!program->Execute()) {
            state.SkipWithError(program->Messages().ToText().c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A formula whose function recurses without end: every execution runs into "Stack overflow" and
// its handler.
void BM_RecursionOverflow(benchmark::State& state) {
    auto engine = MakeEngine();
    auto program = CompileOrSkip(state, *engine,
                                 "function Deep(n: Integer): Integer; begin Result := Deep(n + 1) + 1; end;\n"
                                 "try Deep(0); except on E: Exception do Print(E.Message); end;\n");
    if (program == nullptr) {
        return;
    }
    for (auto _ : state) {
        if (!program->Execute() || program->Output() != "Stack overflow") {
            state.SkipWithError("the overflow was not caught");
            break;
        }
    }
}

BENCHMARK(BM_Compile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoopsAndCalls)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecursionOverflow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteStored)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecutePrintParse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecutePrintParseDriver)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
