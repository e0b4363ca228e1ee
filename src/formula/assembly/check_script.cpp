#include "tlassembly/check_script.hpp"

#include "tlassembly/ansi_case.hpp"
#include "tlassembly/placeholders.hpp"
#include "tlassembly/script_names.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl {

std::string BuildCheckScript(std::string_view common_script, std::string_view formula, bool wrap) {
    std::string text = AnsiUpperCase(formula);
    if (!wrap) {
        return text;
    }
    std::string scratch;
    ReplaceAllIgnoringCase(text, kPlaceholderResult, kResultVar0, scratch);
    ReplaceAllIgnoringCase(text, kPlaceholderResult0, kResultVar0, scratch);
    ReplaceAllIgnoringCase(text, kPlaceholderResult1, kResultVar1, scratch);
    if (text.find(kResultVar0) == std::string::npos && text.find(kResultVar1) == std::string::npos) {
        text = fmt::format("{} := {}", kResultVar0, text);
    }
    std::string script;
    if (!common_script.empty()) {
        script.append(common_script).append("\r\n");
    }
    fmt::format_to(std::back_inserter(script), "var {}, {}: float;", kResultVar0, kResultVar1);
    fmt::format_to(std::back_inserter(script), "\r\n{};", text);
    fmt::format_to(std::back_inserter(script), "\r\nprint({});\r\nprint({});", kResultVar0, kResultVar1);
    return script;
}

int32_t CheckScriptLinesBeforeFormula(std::string_view common_script, bool wrap) {
    if (!wrap) {
        return 0;
    }
    // The declaration line, and the common script with the line break that ends it. The compiler
    // counts lines at LF, so a CR LF and a lone LF inside the common script both count once.
    int32_t lines = 1;
    if (!common_script.empty()) {
        lines += 1 + static_cast<int32_t>(std::count(common_script.begin(), common_script.end(), '\n'));
    }
    return lines;
}

} // namespace tl
