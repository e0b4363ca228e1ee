#include "dialog_fakes.hpp"

#include "tlsettings/element_key.hpp"

#include <gtest/gtest.h>

namespace tl::dialogs::testing {

Answer ScriptedBoxes::Ask(std::string_view caption, std::string_view text, Buttons, BoxIcon) {
    questions.push_back(std::string(caption) + ": " + std::string(text));
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return Answer::kNo;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedEditors::EditCoefficients(const ElementAddress& element, TMethod1Obj& record) {
    opened.push_back("coefficients " + settings::ElementKey(element));
    if (!coefficients) {
        return false;
    }
    coefficients(record);
    return true;
}

bool ScriptedEditors::EditFormula(const ElementAddress& element, TMethod2Obj& record, const std::string&,
                                  const std::vector<std::string>& errors) {
    opened.push_back("formula " + settings::ElementKey(element));
    errors_seen = errors;
    if (!formula) {
        return false;
    }
    record.Formula = *formula;
    return true;
}

std::optional<std::string> ScriptedEditors::EditCommonScript(const std::string&,
                                                             const std::vector<std::string>& errors) {
    opened.push_back("common");
    errors_seen = errors;
    return common;
}

bool ScriptedChecker::Check(std::string_view, std::string_view text, bool wrap,
                            std::vector<std::string>& errors) {
    checked.push_back(std::string(wrap ? "formula " : "alone ") + std::string(text));
    errors.clear();
    if (text.find(bad) == std::string_view::npos) {
        return true;
    }
    errors.push_back("Синтаксическая ошибка [строка: 3, столбец: 1]");
    return false;
}

} // namespace tl::dialogs::testing
