#include "tlassembly/run_script.hpp"

#include "tlassembly/placeholders.hpp"
#include "tlassembly/run_script_map.hpp"
#include "tlassembly/script_names.hpp"
#include "tlparams/method2_obj.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <iterator>
#include <stdexcept>

namespace tl {
namespace {

constexpr std::string_view kCommonBanner = "//############# Общая часть #############\r\n";
constexpr std::string_view kMainBanner = "//############# Основная часть #############\r\n";

// The block text around one formula with its three indices and the assignment of a bare
// expression: 270 bytes with one-digit indices, under 300 with ten-digit ones. Placeholders grow
// a formula by a few bytes each; the buffer then grows once more, still in linear time.
constexpr size_t kBlockOverhead = 300;

const TMethod2Obj& FormulaOf(const TCalcObject& object) {
    const auto* params = dynamic_cast<const TMethod2Obj*>(object.params.get());
    if (params == nullptr) {
        throw std::invalid_argument(
            fmt::format("element {} holds no formula record", FormatAddress(object.address)));
    }
    return *params;
}

void AppendDeclarations(std::string& text, int32_t count) {
    auto out = std::back_inserter(text);
    fmt::format_to(out, "var {}, {}: array [1..{}] of Float;\r\n", kResultVar0, kResultVar1, count);
    text.append("var __i: Integer;\r\n");
    fmt::format_to(out, "for __i := 1 to {} do begin\r\n", count);
    fmt::format_to(out, "  {}[__i] := 0; {}[__i] := 0;\r\n", kResultVar0, kResultVar1);
    text.append("end;");
}

// Each block prints exactly two lines, Result0 then Result1, whether the formula succeeds or
// raises: the output is read back by position.
void AppendGuardedBlock(std::string& text, std::string_view statement, int32_t index) {
    auto out = std::back_inserter(text);
    text.append("\r\ntry \r\n  ");
    text.append(statement);
    text.append(";\r\n  Print('Result0=');\r\n");
    fmt::format_to(out, "  PrintLn({}[{}]);\r\n", kResultVar0, index);
    text.append("  Print('Result1=');\r\n");
    fmt::format_to(out, "  PrintLn({}[{}]);\r\n", kResultVar1, index);
    text.append("except\r\n"
                "  on E: Exception do begin\r\n"
                "    Print('Result0=Err:');\r\n"
                "    PrintLn(E.message);\r\n"
                "    Print('Result1=Err:');\r\n"
                "    PrintLn(E.message);\r\n"
                "  end;\r\n"
                "end;");
}

bool NamesResultVariable(std::string_view formula) {
    return formula.find(kResultVar0) != std::string_view::npos ||
           formula.find(kResultVar1) != std::string_view::npos;
}

} // namespace

std::string BuildRunScript(std::string_view common_script, const TCalcObjects& objects) {
    const int32_t count = objects.Count();
    size_t formulas_size = 0;
    for (int32_t k = 0; k < count; ++k) {
        formulas_size += FormulaOf(objects.At(k)).Formula.size();
    }

    std::string text;
    text.reserve(kCommonBanner.size() + common_script.size() + kMainBanner.size() + 200 + formulas_size +
                 static_cast<size_t>(count) * kBlockOverhead);
    if (!common_script.empty()) {
        text.append(kCommonBanner);
        text.append(common_script);
        text.append("\r\n");
    }
    text.append(kMainBanner);
    AppendDeclarations(text, count);

    // Two buffers kept across the elements: one for the formula, one for the replacements.
    std::string formula;
    std::string scratch;
    for (int32_t k = 0; k < count; ++k) {
        const int32_t index = k + 1;
        formula.assign(FormulaOf(objects.At(k)).Formula);
        SubstitutePlaceholders(formula, index, scratch);
        if (!NamesResultVariable(formula)) {
            // A bare expression: its value is the element's first result.
            scratch.clear();
            fmt::format_to(std::back_inserter(scratch), "{}[{}] := {}", kResultVar0, index, formula);
            formula.swap(scratch);
        }
        AppendGuardedBlock(text, formula, index);
    }
    return text;
}

void ReleaseFormulaTexts(TCalcObjects& objects) {
    for (int32_t k = 0; k < objects.Count(); ++k) {
        if (auto* params = dynamic_cast<TMethod2Obj*>(objects.At(k).params.get())) {
            std::string().swap(params->Formula);
        }
    }
}

std::string BuildMappedRunScript(std::string_view common_script, const TCalcObjects& objects,
                                 std::span<const int32_t> elements, RunScriptMap& map) {
    // Lines are counted at LF as the compiler counts them.
    const auto line_at_end = [](const std::string& text) {
        return 1 + static_cast<int32_t>(std::count(text.begin(), text.end(), '\n'));
    };
    std::string text;
    if (!common_script.empty()) {
        text.append(kCommonBanner);
        map.SetCommonScript(line_at_end(text), common_script);
        text.append(common_script);
        text.append("\r\n");
    }
    text.append(kMainBanner);
    AppendDeclarations(text, objects.Count());
    for (const int32_t k : elements) {
        const std::string& formula = FormulaOf(objects.At(k)).Formula;
        MappedStatement statement = MapStatement(formula, k + 1);
        // The block starts on a new line: "try ", then the statement after two blanks.
        const int32_t first_line = line_at_end(text) + 1;
        AppendGuardedBlock(text, statement.text, k + 1);
        map.AddElement(k, first_line, line_at_end(text), first_line + 1, 3, formula, std::move(statement));
    }
    return text;
}

} // namespace tl
