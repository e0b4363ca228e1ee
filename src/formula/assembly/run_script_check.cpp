#include "tlassembly/run_script_check.hpp"

#include "tlassembly/run_script.hpp"
#include "tlassembly/run_script_map.hpp"
#include "tlscript/program.hpp"

#include <numeric>

namespace tl {
namespace {

// The compiler messages of `text`, placed through `map`; a message outside the task's own texts
// goes to `owner`.
bool CompileInto(const script::Engine& engine, const std::string& text, const RunScriptMap& map,
                 int32_t owner, std::vector<FormulaMessage>& out) {
    const auto program = engine.Compile(text);
    for (script::Message message : program->Messages()) {
        FormulaMessage placed{owner, message};
        if (message.HasPosition() && message.source.empty()) {
            const ScriptPlace place = map.Locate(message.line, message.column);
            if (place.part == ScriptPlace::Part::kGenerated) {
                placed.message.line = 0;
                placed.message.column = 0;
            } else {
                placed.element = place.element;
                placed.message.line = place.line;
                placed.message.column = place.column;
            }
        }
        out.push_back(std::move(placed));
    }
    return !program->HasCompileErrors();
}

} // namespace

RunScriptCheck CheckRunScript(const script::Engine& engine, std::string_view common_script,
                              const TCalcObjects& objects) {
    RunScriptCheck check;
    std::vector<int32_t> all(static_cast<size_t>(objects.Count()));
    std::iota(all.begin(), all.end(), 0);
    RunScriptMap full_map;
    const std::string full = BuildMappedRunScript(common_script, objects, all, full_map);
    std::vector<FormulaMessage> full_messages;
    check.compiles = CompileInto(engine, full, full_map, -1, full_messages);
    if (check.compiles) {
        check.messages = std::move(full_messages);
        return check;
    }

    RunScriptMap head_map;
    const std::string head = BuildMappedRunScript(common_script, objects, {}, head_map);
    if (!CompileInto(engine, head, head_map, -1, check.messages)) {
        check.formulas_checked = false;
        return check;
    }
    check.messages.clear(); // warnings of the common part come again with the whole script
    bool found = false;
    for (const int32_t k : all) {
        RunScriptMap map;
        const std::string alone = BuildMappedRunScript(common_script, objects, std::span(&k, 1), map);
        std::vector<FormulaMessage> messages;
        if (!CompileInto(engine, alone, map, k, messages)) {
            found = true;
            check.messages.insert(check.messages.end(), messages.begin(), messages.end());
        }
    }
    if (!found) {
        check.messages = std::move(full_messages);
    }
    return check;
}

} // namespace tl
