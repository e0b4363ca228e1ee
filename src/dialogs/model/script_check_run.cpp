// The check of every changed script before the formula method is saved: the common script alone,
// then each changed element formula with the common script in front, in grid order, stopping at
// the first that does not compile.
#include "tldialogs/task_dialog_model.hpp"

#include <fmt/format.h>

namespace tl::dialogs {
namespace {

constexpr std::string_view kCommonScriptName = "Общий скрипт";

} // namespace

bool TaskDialogModel::CheckScripts() {
    std::vector<ElementAddress> changed;
    for (const ElementAddress& address : Rows()) {
        if (Element(address)->changed) {
            changed.push_back(address);
        }
    }
    if (changed.empty()) {
        return true;
    }
    GridPanel& panel = *services_.panel;
    const size_t count = changed.size();
    panel.ShowText(fmt::format("Проверка скриптов [0 из {}]...", count));
    panel.ShowText(fmt::format("Проверка скриптов [0 из {}]\r\nОбъект: \"{}\"", count, kCommonScriptName));
    std::vector<std::string> errors;
    const std::string& common = CommonScript();
    std::optional<ElementAddress> failed;
    bool common_failed = !services_.checker->Check(common, common, false, errors);
    for (size_t i = 0; !common_failed && i < count; ++i) {
        const ElementAddress& address = changed[i];
        panel.ShowText(
            fmt::format("Проверка скриптов [{} из {}]\r\nОбъект: \"{}\"", i + 1, count, ObjectText(address)));
        if (!services_.checker->Check(common, Element(address)->params->SaveToText(), true, errors)) {
            failed = address;
            break;
        }
    }
    if (!common_failed && !failed) {
        return true;
    }
    panel.ShowGrid();
    const std::string name = failed ? ObjectText(*failed) : std::string(kCommonScriptName);
    const std::string question = fmt::format("Проверка выполнена с ошибками.\r\nЭлемент: \"{}\"\r\nОткрыть "
                                             "диалог редактирования скрипта элемента?",
                                             name);
    if (services_.boxes->Ask("Проверка скриптов", question, Buttons::kYesNo, BoxIcon::kError) ==
        Answer::kYes) {
        if (failed) {
            panel.FocusRow(*failed);
            EditElement(*failed, errors);
        } else {
            EditCommonScript(errors);
        }
    }
    return false;
}

} // namespace tl::dialogs
