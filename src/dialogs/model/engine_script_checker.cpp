#include "tldialogs/engine_script_checker.hpp"

#include "tlassembly/script_check.hpp"
#include "tlunit/script_data_module.hpp"

namespace tl::dialogs {

EngineScriptChecker::EngineScriptChecker() : module_(std::make_unique<ScriptDataModule>()) {}

EngineScriptChecker::~EngineScriptChecker() = default;

bool EngineScriptChecker::Check(std::string_view common_script, std::string_view text, bool wrap,
                                std::vector<std::string>& errors) {
    return CheckScript(module_->Engine(), common_script, text, wrap, errors);
}

} // namespace tl::dialogs
