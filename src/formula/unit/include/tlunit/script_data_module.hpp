// ScriptDataModule (TDataModule1 of the metering system): the script engine of a task with the
// function unit MyUnit registered, and the state those functions read.
//
// One module per task. The functions read the current context and fill the used-element lists
// through state that any other module instance cannot touch, so two tasks whose steps interleave
// never see each other's rows, lists or momentary cache, and a task's compiled program lives
// exactly as long as the engine it refers to. The cost is one registration of about ninety
// functions per task, a few microseconds.
//
//     ScriptDataModule module;                       // settings, MyUnit registered
//     auto program = module.Engine().Compile(text);
//     module.EnterCollectionMode();                  // W(..) & co. only record what they name
//     program->Execute();
//     for (auto& a : module.UsedPowerElements()) { ... }
//     module.LeaveCollectionMode();
//     ...
//     module.SetScriptContext({&rows, &momentary, accepted, pass, stamp, season, &states, &objects});
//     program->Execute();                            // one stamp
//     module.ClearScriptContext();
#pragma once

#include "tlunit/script_context.hpp"
#include "tlunit/used_elements.hpp"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tl {

namespace script {
class Engine;
}

struct UnitState;

inline constexpr int32_t kOtDevice = 99;
inline constexpr int32_t kOtSubDevice = 98;

class ScriptDataModule {
public:
    // The engine takes the system decimal separator, no time limit and no data limit beyond the
    // engine's own safety bound. Included files are read only from `include_dirs`: none by
    // default, since formulas come from the operators' settings and must not reach into the
    // host's file system.
    explicit ScriptDataModule(std::vector<std::string> include_dirs = {});
    ~ScriptDataModule();
    ScriptDataModule(const ScriptDataModule&) = delete;
    ScriptDataModule& operator=(const ScriptDataModule&) = delete;

    // Compiles every script of the task; programs refer to it and must not outlive the module.
    script::Engine& Engine() { return *engine_; }

    // Collection pass: interval index 14, the context dropped, three empty used-element lists
    // that the functions fill. Leaving empties the lists.
    void EnterCollectionMode();
    void LeaveCollectionMode();
    bool Collecting() const;
    std::span<const ElementAddress> UsedPowerElements() const;
    std::span<const ElementAddress> UsedMomentaryElements() const;
    std::span<const ElementAddress> UsedStateElements() const;

    // Interval pass: the context of the next execution, with an empty momentary cache. Throws
    // std::logic_error in collection mode and std::invalid_argument for an index outside 0..12.
    void SetScriptContext(const ScriptContext& context);
    // Detaches the lists and objects: the functions give 0 again.
    void ClearScriptContext();
    const ScriptContext& Context() const;

    // The interval length in hours that T gives now.
    double IntervalHours() const;

private:
    std::unique_ptr<UnitState> state_;
    std::unique_ptr<script::Engine> engine_;
};

} // namespace tl
