#include "tlassembly/placeholders.hpp"

#include "tlassembly/script_names.hpp"

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

// "__var0[12]" without a heap allocation.
std::string_view IndexedName(std::string_view name, int32_t index, fmt::memory_buffer& buffer) {
    buffer.clear();
    fmt::format_to(std::back_inserter(buffer), "{}[{}]", name, index);
    return {buffer.data(), buffer.size()};
}

} // namespace

void ReplaceAllIgnoringCase(std::string& text, std::string_view pattern, std::string_view replacement,
                            std::string& scratch) {
    // Every placeholder starts with '%': a formula without one is left alone at the cost of a scan.
    if (pattern.empty() || text.size() < pattern.size() || text.find(pattern.front()) == std::string::npos) {
        return;
    }
    scratch.clear();
    size_t copied = 0;
    const size_t last = text.size() - pattern.size();
    for (size_t at = 0; at <= last;) {
        if (MatchesAt(text, at, pattern)) {
            scratch.append(text, copied, at - copied);
            scratch.append(replacement);
            at += pattern.size();
            copied = at;
        } else {
            ++at;
        }
    }
    if (copied == 0) {
        return;
    }
    scratch.append(text, copied, std::string::npos);
    text.swap(scratch);
}

void SubstitutePlaceholders(std::string& formula, int32_t index, std::string& scratch) {
    fmt::memory_buffer name;
    ReplaceAllIgnoringCase(formula, kPlaceholderResult, IndexedName(kResultVar0, index, name), scratch);
    ReplaceAllIgnoringCase(formula, kPlaceholderResult0, IndexedName(kResultVar0, index, name), scratch);
    ReplaceAllIgnoringCase(formula, kPlaceholderResult1, IndexedName(kResultVar1, index, name), scratch);
}

std::string SubstitutePlaceholders(const TMethod2Obj& params, int32_t index) {
    std::string formula = params.Formula;
    std::string scratch;
    SubstitutePlaceholders(formula, index, scratch);
    return formula;
}

} // namespace tl
