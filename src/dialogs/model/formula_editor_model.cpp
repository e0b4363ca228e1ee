#include "tldialogs/formula_editor_model.hpp"

#include "tlassembly/check_script.hpp"
#include "tlunit/momentary_names.hpp"

#include <cctype>
#include <fmt/format.h>

namespace tl::dialogs {
namespace {

std::string HexCode(int32_t object_code) {
    return object_code == 0 ? "0" : fmt::format("${:X}", static_cast<uint32_t>(object_code));
}

constexpr int32_t kSubDeviceType = 98;

} // namespace

std::vector<std::string> EnergyInsertions(std::string_view function,
                                          const std::vector<ElementAddress>& elements) {
    std::vector<std::string> texts;
    for (const ElementAddress& element : elements) {
        texts.push_back(fmt::format("{}({}, {}, {})\r\n", function, HexCode(element.object_code),
                                    element.element_type, element.item));
    }
    return texts;
}

std::string MomentaryInsertion(const std::vector<MomentaryPick>& picks) {
    std::string text;
    for (const MomentaryPick& pick : picks) {
        int32_t type = pick.element_type;
        int32_t item = 0;
        const int32_t code = pick.item_word & 0xFF;
        if (((pick.item_word >> 8) & 0xFF) != 0) {
            type = kSubDeviceType;
            item = (pick.item_word >> 8) & 0xFF;
        }
        // Quantities beyond the named functions are read through M.
        const std::string_view name = MomentaryName(code);
        if (code >= 1 && code <= kNamedMomentaryFunctions) {
            text += fmt::format("{}(${:X}, {}, {})\r\n", name, static_cast<uint32_t>(pick.object_code), type,
                                item);
        } else {
            text += fmt::format("M(${:X}, {}, {}, {})\r\n", static_cast<uint32_t>(pick.object_code), type,
                                item, code);
        }
    }
    if (text.ends_with("\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

std::string DiscreteInputInsertion(const std::vector<DiscreteInputPick>& inputs) {
    std::string text;
    for (const DiscreteInputPick& input : inputs) {
        text += fmt::format("DI(${:X}, {})\r\n", static_cast<uint32_t>(input.object_code), input.item);
    }
    return text;
}

std::string MeasurementObjectInsertion(const std::vector<int32_t>& codes) {
    std::string text;
    for (const int32_t code : codes) {
        text += fmt::format("MO({})\r\n", code);
    }
    return text;
}

std::string EditorForm(std::string_view text, int tab_width) {
    std::string result;
    std::string line;
    const auto end_line = [&] {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        result += line;
        line.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            end_line();
            result += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\t') {
            line.append(static_cast<size_t>(tab_width - static_cast<int>(line.size()) % tab_width), ' ');
        } else {
            line.push_back(c);
        }
    }
    end_line();
    return result;
}

std::string NormaliseFormula(std::string_view text) {
    std::string normalised(text);
    for (size_t i = 0; i + 1 < normalised.size(); ++i) {
        if (normalised[i + 1] == '(' && (normalised[i] == 'w' || normalised[i] == 'p')) {
            normalised[i] = static_cast<char>(normalised[i] - 'a' + 'A');
        }
    }
    return normalised;
}

FormulaEditorModel::FormulaEditorModel(bool element, std::string initial_text, std::string common_script,
                                       ScriptChecker& checker)
    : element_(element), initial_(std::move(initial_text)), common_(std::move(common_script)),
      checker_(checker) {}

bool FormulaEditorModel::Check(std::string_view text) {
    messages_ = {"Проверка синтаксиса..."};
    std::vector<std::string> errors;
    verified_ =
        element_ ? checker_.Check(common_, text, true, errors) : checker_.Check(text, text, false, errors);
    if (verified_) {
        messages_.back() += "Ok";
    } else {
        messages_.insert(messages_.end(), errors.begin(), errors.end());
    }
    return verified_;
}

std::optional<int32_t> FormulaEditorModel::MessageLine(std::string_view message, int32_t line_count) const {
    constexpr std::string_view kLineWord = "строка";
    const size_t word = message.find(kLineWord);
    if (word == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = message.substr(word + kLineWord.size());
    rest = rest.substr(0, rest.find(','));
    int32_t number = 0;
    bool digits = false;
    for (const char c : rest) {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            number = number * 10 + (c - '0');
            digits = true;
        } else if (digits) {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    // Compiler lines count from 1; the check script of an element holds the common script and
    // the declaration line in front of the formula.
    const int32_t line = number - 1 - (element_ ? CheckScriptLinesBeforeFormula(common_, true) : 0);
    if (line < 0 || line >= line_count) {
        return std::nullopt;
    }
    return line;
}

FormulaEditorModel::OkResult FormulaEditorModel::Ok(std::string_view text) {
    if (!verified_ && text != initial_ && !Check(text)) {
        return {};
    }
    const std::string normalised = NormaliseFormula(text);
    if (normalised == initial_) {
        return {true, false, {}};
    }
    return {true, true, element_ ? std::string(text) : normalised};
}

} // namespace tl::dialogs
