// TfrmParams2 without its windows: the editor of one element formula or of the common script.
// The texts the pickers insert, the syntax check with its message list, following a message to
// its line, and what OK does with the text.
#pragma once

#include "tldialogs/task_dialog_services.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

// "(W) Энергия" / "(P) Мощность": one text per element, "W2($1A, 0, 5)\r\n" (object code 0 is "0").
std::vector<std::string> EnergyInsertions(std::string_view function,
                                          const std::vector<ElementAddress>& elements);

// "(M) Мгновенная величина": a device or, with a non-zero high byte of the item word, a
// sub-device of it (element type 98, item = the high byte), and the momentary code in the low byte.
struct MomentaryPick {
    int32_t object_code = 0;
    int32_t element_type = 99;
    int32_t item_word = 0;
};
// All picks joined into one text without the final line break.
std::string MomentaryInsertion(const std::vector<MomentaryPick>& picks);

struct DiscreteInputPick {
    int32_t object_code = 0;
    int32_t item = 0;
};
std::string DiscreteInputInsertion(const std::vector<DiscreteInputPick>& inputs); // "DI($1A, 4)\r\n" each
std::string MeasurementObjectInsertion(const std::vector<int32_t>& codes);        // "MO(5)\r\n" each

inline constexpr std::string_view kFormulaHelp =
    "Для обращения к переменной результату используется инструкция %Result0% (Значение 0) и %Result1% "
    "(Значение 1)\r\n\r\nПример: \r\n    %Result0% := 0;\r\n    %Result1% := 0;\r\n    if ( W(4369,1) > 0 ) "
    "and ( DI(4369,1) = 1 ) then \r\n    begin\r\n        %Result0% := W(4369,1) * 1.2; \r\n        "
    "%Result1% := sqrt(P(4369,1) * P(4369,3)); \r\n    end;";

class FormulaEditorModel {
public:
    // For an element formula (`element` true) the common script goes in front when checking; for
    // the common script itself `common_script` is the edited text.
    FormulaEditorModel(bool element, std::string initial_text, std::string common_script,
                       ScriptChecker& checker);

    bool IsElement() const { return element_; }
    const std::string& InitialText() const { return initial_; }

    // "Проверить скрипт": the message list becomes "Проверка синтаксиса..." with "Ok" appended, or
    // that line and the errors.
    bool Check(std::string_view text);
    const std::vector<std::string>& Messages() const { return messages_; }
    void ShowMessages(std::vector<std::string> messages) { messages_ = std::move(messages); }
    bool Verified() const { return verified_; }

    // The editor line (from 0) a message refers to: the number after "строка", reduced for an
    // element formula by the lines the check script holds in front of it; nothing when there is
    // no such number or the line is not one of the editor's `line_count` lines.
    std::optional<int32_t> MessageLine(std::string_view message, int32_t line_count) const;

    struct OkResult {
        bool close = false;    // false: the check failed, the editor stays open
        bool accepted = false; // the dialog's result: OK (something changed) or cancel
        std::string text;      // the element's formula (as typed) or the common script (normalised)
    };
    OkResult Ok(std::string_view text);

private:
    bool element_;
    std::string initial_;
    std::string common_;
    ScriptChecker& checker_;
    std::vector<std::string> messages_;
    bool verified_ = false;
};

// A text as the editor holds it: tabs as spaces (to the next multiple of `tab_width`), no blanks
// at line ends, lines joined by CR LF.
std::string EditorForm(std::string_view text, int tab_width = 2);

// "w(" and "p(" written as "W(" and "P(".
std::string NormaliseFormula(std::string_view text);

} // namespace tl::dialogs
