// The reference workload on a Lua VM: compile the N-element script, then execute it once per
// stamp, with the results either left in the script's arrays or printed and parsed back.
// Built twice: lua_ref_bench against Lua 5.4 and luajit_ref_bench against LuaJIT.
#include "workload.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <fmt/format.h>
#include <iterator>
#include <lua.hpp>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

#ifdef LUAJIT_VERSION
constexpr const char* kVm = LUAJIT_VERSION;
#else
constexpr const char* kVm = LUA_RELEASE;
#endif

using tl::bench::ElementResult;
using tl::bench::HostFunctions;
using tl::bench::Language;
using tl::bench::Output;
using tl::bench::RenderWorkload;
using tl::bench::StampValues;

// What the host functions read and write. One per process, as the driver's script context.
struct HostContext {
    StampValues values;
    std::string printed;
};
HostContext g_host;

int LuaW(lua_State* L) {
    auto code = static_cast<int>(lua_tointeger(L, 1));
    auto item = static_cast<int>(lua_tointeger(L, 2));
    lua_pushnumber(L, HostFunctions::W(g_host.values, code, item));
    return 1;
}

int LuaP(lua_State* L) {
    auto code = static_cast<int>(lua_tointeger(L, 1));
    auto item = static_cast<int>(lua_tointeger(L, 2));
    lua_pushnumber(L, HostFunctions::P(g_host.values, code, item));
    return 1;
}

int LuaT(lua_State* L) {
    lua_pushnumber(L, HostFunctions::kIntervalHours);
    return 1;
}

int LuaT2LossesWA(lua_State* L) {
    lua_pushnumber(L, HostFunctions::T2LossesWA(lua_tonumber(L, 1), lua_tonumber(L, 2), lua_tonumber(L, 3),
                                                lua_tonumber(L, 4), lua_tonumber(L, 5), lua_tonumber(L, 6)));
    return 1;
}

void Append(lua_State* L, bool line_break) {
    if (lua_type(L, 1) == LUA_TNUMBER) {
        fmt::format_to(std::back_inserter(g_host.printed), "{:.15g}", lua_tonumber(L, 1));
    } else {
        size_t length = 0;
        const char* text = lua_tolstring(L, 1, &length);
        g_host.printed.append(text != nullptr ? text : "", text != nullptr ? length : 0);
    }
    if (line_break) {
        g_host.printed += "\r\n";
    }
}

int LuaPrint(lua_State* L) {
    Append(L, false);
    return 0;
}

int LuaPrintLn(lua_State* L) {
    Append(L, true);
    return 0;
}

// A VM with the base library and the host functions, holding the compiled workload.
class Vm {
public:
    // `jit` false runs LuaJIT's interpreter only; Lua 5.4 has nothing else.
    explicit Vm(bool jit = true) : L_(luaL_newstate()) {
        if (L_ == nullptr) {
            throw std::runtime_error("cannot create a Lua state");
        }
        luaL_openlibs(L_);
#ifdef LUAJIT_VERSION
        if (!jit) {
            luaJIT_setmode(L_, 0, LUAJIT_MODE_ENGINE | LUAJIT_MODE_OFF);
        }
#else
        (void)jit;
#endif
        lua_register(L_, "W", LuaW);
        lua_register(L_, "P", LuaP);
        lua_register(L_, "T", LuaT);
        lua_register(L_, "T2_LossesW_A", LuaT2LossesWA);
        lua_register(L_, "Print", LuaPrint);
        lua_register(L_, "PrintLn", LuaPrintLn);
    }
    ~Vm() {
        lua_close(L_);
    }
    Vm(const Vm&) = delete;
    Vm& operator=(const Vm&) = delete;

    lua_State* State() const {
        return L_;
    }

    // Compiles `source` and leaves the function on the stack.
    void Load(const std::string& source) {
        if (luaL_loadbuffer(L_, source.data(), source.size(), "workload") != 0) {
            throw std::runtime_error(fmt::format("compile error: {}", lua_tostring(L_, -1)));
        }
    }

    // Compiles `source` and keeps the function for Run.
    void Prepare(const std::string& source) {
        Load(source);
        chunk_ = luaL_ref(L_, LUA_REGISTRYINDEX);
    }

    // Runs the prepared chunk, leaving its two result arrays on the stack.
    void Run() {
        lua_rawgeti(L_, LUA_REGISTRYINDEX, chunk_);
        if (lua_pcall(L_, 0, 2, 0) != 0) {
            throw std::runtime_error(fmt::format("execution error: {}", lua_tostring(L_, -1)));
        }
    }

private:
    lua_State* L_;
    int chunk_ = LUA_NOREF;
};

// Runs a benchmark body; a Lua error ends the benchmark with its message instead of the process.
template <typename Body>
void Guarded(benchmark::State& state, Body body) {
    try {
        body();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void CompileBody(benchmark::State& state) {
    auto elements = static_cast<int>(state.range(0));
    std::string source = RenderWorkload(Language::Lua, Output::Printed, elements);
    Vm vm;
    for (auto _ : state) {
        vm.Load(source);
        lua_pop(vm.State(), 1);
    }
    state.counters["source_kB"] = static_cast<double>(source.size()) / 1024.0;
    state.SetLabel(kVm);
}

// Results stay in the script's arrays; the host reads them back from the two tables.
void ExecuteStoredBody(benchmark::State& state, bool jit) {
    auto elements = static_cast<int>(state.range(0));
    Vm vm(jit);
    vm.Prepare(RenderWorkload(Language::Lua, Output::Stored, elements));
    std::vector<double> value0(static_cast<size_t>(elements));
    std::vector<double> value1(static_cast<size_t>(elements));
    lua_State* L = vm.State();
    std::uint32_t stamp = 0;
    for (auto _ : state) {
        g_host.values.Fill(++stamp);
        vm.Run();
        for (int k = 0; k < elements; ++k) {
            lua_rawgeti(L, -2, k + 1);
            value0[static_cast<size_t>(k)] = lua_tonumber(L, -1);
            lua_rawgeti(L, -2, k + 1);
            value1[static_cast<size_t>(k)] = lua_tonumber(L, -1);
            lua_pop(L, 2);
        }
        lua_pop(L, 2);
        benchmark::DoNotOptimize(value0.data());
        benchmark::DoNotOptimize(value1.data());
    }
    state.SetItemsProcessed(state.iterations() * elements);
    state.SetLabel(kVm);
}

// Every block prints its two result lines; the host parses them back into numbers.
void ExecutePrintParseBody(benchmark::State& state, bool jit) {
    auto elements = static_cast<int>(state.range(0));
    Vm vm(jit);
    vm.Prepare(RenderWorkload(Language::Lua, Output::Printed, elements));
    std::vector<ElementResult> results;
    results.reserve(static_cast<size_t>(elements));
    std::uint32_t stamp = 0;
    for (auto _ : state) {
        g_host.values.Fill(++stamp);
        g_host.printed.clear();
        vm.Run();
        lua_pop(vm.State(), 2);
        if (!tl::bench::ParseResults(g_host.printed, results) ||
            results.size() != static_cast<size_t>(elements)) {
            state.SkipWithError("the printed output does not hold a result pair per element");
            break;
        }
        benchmark::DoNotOptimize(results.data());
    }
    state.SetItemsProcessed(state.iterations() * elements);
    state.counters["output_kB"] = static_cast<double>(g_host.printed.size()) / 1024.0;
    state.SetLabel(kVm);
}

void BM_Compile(benchmark::State& state) {
    Guarded(state, [&] { CompileBody(state); });
}
void BM_ExecuteStored(benchmark::State& state) {
    Guarded(state, [&] { ExecuteStoredBody(state, true); });
}
void BM_ExecutePrintParse(benchmark::State& state) {
    Guarded(state, [&] { ExecutePrintParseBody(state, true); });
}

BENCHMARK(BM_Compile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteStored)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecutePrintParse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

#ifdef LUAJIT_VERSION
// The element blocks run once per execution and call C functions, which LuaJIT's trace compiler
// cannot record; its interpreter alone shows what the JIT's attempts cost.
void BM_ExecuteStoredInterpreted(benchmark::State& state) {
    Guarded(state, [&] { ExecuteStoredBody(state, false); });
}
void BM_ExecutePrintParseInterpreted(benchmark::State& state) {
    Guarded(state, [&] { ExecutePrintParseBody(state, false); });
}
BENCHMARK(BM_ExecuteStoredInterpreted)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecutePrintParseInterpreted)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
