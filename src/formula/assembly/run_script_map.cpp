#include "tlassembly/run_script_map.hpp"

#include "tlassembly/script_names.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl {
namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool MatchesAt(std::string_view text, size_t at, std::string_view pattern) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (AsciiUpper(text[at + i]) != AsciiUpper(pattern[i])) {
            return false;
        }
    }
    return true;
}

// The same scan as the placeholder replacement of the run script, carrying each byte's origin;
// a replacement stands for the first byte of the placeholder it replaces.
void ReplaceTracked(MappedStatement& statement, std::string_view pattern, std::string_view replacement) {
    const std::string& text = statement.text;
    if (text.size() < pattern.size()) {
        return;
    }
    MappedStatement out;
    size_t copied = 0;
    const size_t last = text.size() - pattern.size();
    for (size_t at = 0; at <= last;) {
        if (MatchesAt(text, at, pattern)) {
            out.text.append(text, copied, at - copied);
            out.origin.insert(out.origin.end(), statement.origin.begin() + static_cast<ptrdiff_t>(copied),
                              statement.origin.begin() + static_cast<ptrdiff_t>(at));
            out.text.append(replacement);
            out.origin.insert(out.origin.end(), replacement.size(), statement.origin[at]);
            at += pattern.size();
            copied = at;
        } else {
            ++at;
        }
    }
    if (copied == 0) {
        return;
    }
    out.text.append(text, copied, std::string::npos);
    out.origin.insert(out.origin.end(), statement.origin.begin() + static_cast<ptrdiff_t>(copied),
                      statement.origin.end());
    statement = std::move(out);
}

// Moves (line, column) over `byte` as the compiler does: a line ends at LF, a column is a
// character (the continuation bytes of UTF-8 take none).
void Step(char byte, int32_t& line, int32_t& column) {
    if (byte == '\n') {
        ++line;
        column = 1;
    } else if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
        ++column;
    }
}

bool Before(int32_t line, int32_t column, int32_t other_line, int32_t other_column) {
    return line < other_line || (line == other_line && column < other_column);
}

} // namespace

MappedStatement MapStatement(std::string_view formula, int32_t index) {
    MappedStatement statement;
    statement.text.assign(formula);
    statement.origin.resize(formula.size());
    for (size_t i = 0; i < formula.size(); ++i) {
        statement.origin[i] = static_cast<uint32_t>(i);
    }
    const std::string result0 = fmt::format("{}[{}]", kResultVar0, index);
    const std::string result1 = fmt::format("{}[{}]", kResultVar1, index);
    ReplaceTracked(statement, kPlaceholderResult, result0);
    ReplaceTracked(statement, kPlaceholderResult0, result0);
    ReplaceTracked(statement, kPlaceholderResult1, result1);
    if (statement.text.find(kResultVar0) == std::string::npos &&
        statement.text.find(kResultVar1) == std::string::npos) {
        const std::string prefix = fmt::format("{}[{}] := ", kResultVar0, index);
        statement.text.insert(0, prefix);
        statement.origin.insert(statement.origin.begin(), prefix.size(), 0);
    }
    return statement;
}

void RunScriptMap::SetCommonScript(int32_t first_line, std::string_view common_script) {
    common_first_line_ = first_line;
    common_last_line_ =
        first_line + static_cast<int32_t>(std::count(common_script.begin(), common_script.end(), '\n'));
}

void RunScriptMap::AddElement(int32_t element, int32_t first_line, int32_t last_line, int32_t statement_line,
                              int32_t statement_column, std::string_view formula, MappedStatement statement) {
    elements_.push_back({element, first_line, last_line, statement_line, statement_column,
                         std::string(formula), std::move(statement)});
}

ScriptPlace RunScriptMap::Locate(int32_t line, int32_t column) const {
    if (line >= common_first_line_ && line <= common_last_line_) {
        return {ScriptPlace::Part::kCommonScript, -1, line - common_first_line_ + 1, column};
    }
    const auto found = std::lower_bound(elements_.begin(), elements_.end(), line,
                                        [](const Element& e, int32_t l) { return e.last_line < l; });
    if (found != elements_.end() && line >= found->first_line) {
        return LocateInElement(*found, line, column);
    }
    return {ScriptPlace::Part::kGenerated, -1, line, column};
}

ScriptPlace RunScriptMap::LocateInElement(const Element& element, int32_t line, int32_t column) const {
    ScriptPlace place{ScriptPlace::Part::kElement, element.element, 1, 1};
    if (Before(line, column, element.statement_line, element.statement_column)) {
        return place;
    }
    // The formula byte the position stands for; past the statement, the end of the formula.
    size_t offset = element.formula.size();
    int32_t at_line = element.statement_line;
    int32_t at_column = element.statement_column;
    const std::string& text = element.statement.text;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!Before(at_line, at_column, line, column)) {
            offset = element.statement.origin[i];
            break;
        }
        Step(text[i], at_line, at_column);
    }
    for (size_t i = 0; i < offset; ++i) {
        Step(element.formula[i], place.line, place.column);
    }
    return place;
}

} // namespace tl
