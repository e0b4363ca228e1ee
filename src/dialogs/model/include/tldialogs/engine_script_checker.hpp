// The syntax check with the run's own compiler and function unit, so that the calls a formula
// makes (W, P, momentary values, loss formulas) are the names the run knows.
#pragma once

#include "tldialogs/task_dialog_services.hpp"

#include <memory>

namespace tl {
class ScriptDataModule;
}

namespace tl::dialogs {

class EngineScriptChecker : public ScriptChecker {
public:
    EngineScriptChecker();
    ~EngineScriptChecker() override;

    bool Check(std::string_view common_script, std::string_view text, bool wrap,
               std::vector<std::string>& errors) override;

private:
    std::unique_ptr<ScriptDataModule> module_;
};

} // namespace tl::dialogs
