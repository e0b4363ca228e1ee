#include "tlassembly/script_check.hpp"

#include "tlassembly/check_script.hpp"

namespace tl {

bool CheckScriptMessages(const script::Engine& engine, std::string_view common_script,
                         std::string_view formula, bool wrap, std::vector<script::Message>& messages) {
    messages.clear();
    const std::string text = BuildCheckScript(common_script, formula, wrap);
    if (text.empty()) {
        return true;
    }
    const auto program = engine.Compile(text);
    if (!program->HasCompileErrors()) {
        return true;
    }
    messages.assign(program->Messages().begin(), program->Messages().end());
    return false;
}

bool CheckScript(const script::Engine& engine, std::string_view common_script, std::string_view formula,
                 bool wrap, std::vector<std::string>& messages) {
    std::vector<script::Message> found;
    const bool ok = CheckScriptMessages(engine, common_script, formula, wrap, found);
    messages.clear();
    messages.reserve(found.size());
    for (const script::Message& message : found) {
        messages.push_back(message.OneLine());
    }
    return ok;
}

} // namespace tl
