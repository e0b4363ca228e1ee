// The formula script engine: registration of host units, compilation of a script into a Program.
//
//     void Energy(tl::script::CallFrame& f) {            // serves W and P, told apart by Tag()
//         f.ReturnFloat(Lookup(f.Int(0), f.Int(1), f.Tag()));
//     }
//     engine.RegisterFunction({"MyUnit", "W", {{ValueType::Integer}, {ValueType::Integer}},
//                              ValueType::Float, Energy, /*tag*/ 0});
//     auto program = engine.Compile(text);               // never throws on a bad script
//     if (!program->HasCompileErrors() && program->Execute()) { Use(program->Output()); }
#pragma once

#include "tlscript/call_frame.hpp"
#include "tlscript/function_registry.hpp"
#include "tlscript/program.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::script {

struct EngineSettings {
    char decimal_separator = '.';
    // The only directories {$I file} reads from.
    std::vector<std::string> include_dirs;
    // Execution time limit in milliseconds; 0 switches it off.
    int64_t time_limit_ms = 0;
    // A flag of the host (read with relaxed atomic loads, never written): while it is non-zero a
    // running execution ends with an execution error that no script handler catches. Looked at
    // with the time limit, every few thousand loop rounds and calls.
    const volatile int32_t* interrupt_flag = nullptr;
    // Upper bound of the data of one program or one routine frame, in bytes; 0 keeps the engine's
    // own safety bound.
    int64_t max_data_bytes = 0;
    // Deepest nesting of script routine calls before "Stack overflow" is raised. The error unwinds
    // every native frame of the recursion, a few per call: a formula that recurses without end at
    // every stamp pays that each time, so the bound stays near what formulas can need.
    int max_call_depth = 1000;
};

class Engine {
public:
    Engine();
    explicit Engine(EngineSettings settings);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const EngineSettings& Settings() const { return settings_; }
    EngineSettings& MutableSettings() { return settings_; }

    // Host units. A unit name becomes valid in `uses`; the names of its functions and constants
    // become visible to every script.
    const FunctionDef& RegisterFunction(FunctionDef def);
    void RegisterConstant(ConstantDef def);
    void RegisterUnit(std::string_view unit) { registry_.AddUnit(unit); }
    const FunctionRegistry& Registry() const { return registry_; }

    // Never throws on a bad script: the compile errors are in the program's message list.
    std::unique_ptr<Program> Compile(std::string_view source, std::string_view source_name = {}) const;

private:
    EngineSettings settings_;
    FunctionRegistry registry_;
};

} // namespace tl::script
