// Functions that cut, join and search strings: Delete and Insert change a var string in place,
// CharAt and SetCharAt read and write one character, positions are one-based.
#include "ansi_text.hpp"
#include "builtins.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <string>

namespace tl::script {
namespace {

[[noreturn]] void RaiseOutOfRange(const CallFrame& f, int32_t index) {
    f.RaiseClass("ERangeError", fmt::format("Out of string range: index {}", index));
}

// Delete(var s, index, count): nothing happens for an index outside the string or a count
// below 1; a count past the end deletes to the end.
void FnDelete(CallFrame& f) {
    std::string_view s = f.BytesRef(0);
    int64_t index = f.Int(1);
    int64_t count = f.Int(2);
    auto size = static_cast<int64_t>(s.size());
    if (index < 1 || index > size || count <= 0) {
        return;
    }
    int64_t end = std::min(size, index - 1 + count);
    std::string result;
    result.reserve(static_cast<size_t>(size - (end - index + 1)));
    result.append(s.substr(0, static_cast<size_t>(index - 1)));
    result.append(s.substr(static_cast<size_t>(end)));
    f.SetBytesRef(0, result);
}

// Insert(sub, var s, index): an index below 1 inserts at the start, one past the end appends.
void FnInsert(CallFrame& f) {
    std::string_view sub = f.Bytes(0);
    std::string_view s = f.BytesRef(1);
    if (sub.empty()) {
        return;
    }
    auto at = static_cast<size_t>(std::clamp<int64_t>(f.Int(2) - 1, 0, static_cast<int64_t>(s.size())));
    std::string result;
    result.reserve(s.size() + sub.size());
    result.append(s.substr(0, at));
    result.append(sub);
    result.append(s.substr(at));
    f.SetBytesRef(1, result);
}

void FnCharAt(CallFrame& f) {
    std::string_view s = f.Bytes(0);
    int32_t index = f.Int(1);
    if (index < 1 || static_cast<size_t>(index) > s.size()) {
        RaiseOutOfRange(f, index);
    }
    f.ReturnChar(s[static_cast<size_t>(index - 1)]);
}

void FnSetCharAt(CallFrame& f) {
    int32_t index = f.Int(1);
    if (index < 1 || static_cast<size_t>(index) > f.BytesRef(0).size()) {
        RaiseOutOfRange(f, index);
    }
    f.MutableBytesRef(0)[index - 1] = f.Char(2);
}

void FnQuotedStr(CallFrame& f) {
    std::string_view s = f.Bytes(0);
    std::string result;
    result.reserve(s.size() + 2);
    result.push_back('\'');
    for (char c : s) {
        result.push_back(c);
        if (c == '\'') {
            result.push_back('\'');
        }
    }
    result.push_back('\'');
    f.ReturnBytes(result);
}

void FnTrim(CallFrame& f) {
    f.ReturnBytes(TrimBlanks(f.Bytes(0)));
}
void FnTrimLeft(CallFrame& f) {
    f.ReturnBytes(TrimBlanksStart(f.Bytes(0)));
}
void FnTrimRight(CallFrame& f) {
    f.ReturnBytes(TrimBlanksEnd(f.Bytes(0)));
}

// IsDelimiter(delimiters, s, index): whether the character at index is one of the delimiters.
void FnIsDelimiter(CallFrame& f) {
    std::string_view delimiters = f.Bytes(0);
    std::string_view s = f.Bytes(1);
    int32_t index = f.Int(2);
    f.ReturnBool(index >= 1 && static_cast<size_t>(index) <= s.size() &&
                 delimiters.find(s[static_cast<size_t>(index - 1)]) != std::string_view::npos);
}

// LastDelimiter(delimiters, s): the position of the last delimiter in s, 0 when there is none.
void FnLastDelimiter(CallFrame& f) {
    std::string_view delimiters = f.Bytes(0);
    size_t at = delimiters.empty() ? std::string_view::npos : f.Bytes(1).find_last_of(delimiters);
    f.ReturnInt(at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1));
}

} // namespace

void RegisterStringEditBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"Delete", {kVarS, kI, kI}, ValueType::Void, FnDelete},
                                   {"Insert", {kS, kVarS, kI}, ValueType::Void, FnInsert},
                                   {"CharAt", {kS, kI}, ValueType::Char, FnCharAt},
                                   {"SetCharAt", {kVarS, kI, kC}, ValueType::Void, FnSetCharAt},
                                   {"QuotedStr", {kS}, ValueType::String, FnQuotedStr},
                                   {"Trim", {kS}, ValueType::String, FnTrim},
                                   {"TrimLeft", {kS}, ValueType::String, FnTrimLeft},
                                   {"TrimRight", {kS}, ValueType::String, FnTrimRight},
                                   {"IsDelimiter", {kS, kS, kI}, ValueType::Boolean, FnIsDelimiter},
                                   {"LastDelimiter", {kS, kS}, ValueType::Integer, FnLastDelimiter},
                               });
}

} // namespace tl::script
