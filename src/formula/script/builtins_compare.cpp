// Letter case and comparison of strings. UpperCase, LowerCase, CompareStr and CompareText know
// only the Latin letters, as in Pascal; the Ansi functions also know the Cyrillic letters of
// Windows-1251, and AnsiCompareStr/AnsiCompareText order Ё right after Е.
#include "ansi_text.hpp"
#include "builtins.hpp"

#include <algorithm>
#include <string>

namespace tl::script {
namespace {

template <char (*Map)(char)>
void MapChars(CallFrame& f) {
    std::string s(f.Bytes(0));
    for (char& c : s) {
        c = Map(c);
    }
    f.ReturnBytes(s);
}

// The difference of the first differing characters after Key, else of the lengths: negative,
// zero or positive as a sorts before, with or after b.
template <int32_t (*Key)(char)>
int32_t Compare(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        int32_t diff = Key(a[i]) - Key(b[i]);
        if (diff != 0) {
            return diff;
        }
    }
    return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

int32_t ByteKey(char c) {
    return static_cast<unsigned char>(c);
}
int32_t AsciiNoCaseKey(char c) {
    return static_cast<unsigned char>(AsciiUpper(c));
}
int32_t AnsiKey(char c) {
    return AnsiCollationWeight(c);
}
int32_t AnsiNoCaseKey(char c) {
    return AnsiCollationWeight(AnsiUpper(c));
}

int32_t Sign(int32_t value) {
    return (value > 0) - (value < 0);
}

void FnCompareStr(CallFrame& f) {
    f.ReturnInt(Compare<ByteKey>(f.Bytes(0), f.Bytes(1)));
}
void FnCompareText(CallFrame& f) {
    f.ReturnInt(Compare<AsciiNoCaseKey>(f.Bytes(0), f.Bytes(1)));
}
void FnAnsiCompareStr(CallFrame& f) {
    f.ReturnInt(Sign(Compare<AnsiKey>(f.Bytes(0), f.Bytes(1))));
}
void FnAnsiCompareText(CallFrame& f) {
    f.ReturnInt(Sign(Compare<AnsiNoCaseKey>(f.Bytes(0), f.Bytes(1))));
}

} // namespace

void RegisterCompareBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"UpperCase", {kS}, ValueType::String, MapChars<AsciiUpper>},
                                   {"LowerCase", {kS}, ValueType::String, MapChars<AsciiLower>},
                                   {"AnsiUpperCase", {kS}, ValueType::String, MapChars<AnsiUpper>},
                                   {"AnsiLowerCase", {kS}, ValueType::String, MapChars<AnsiLower>},
                                   {"CompareStr", {kS, kS}, ValueType::Integer, FnCompareStr},
                                   {"CompareText", {kS, kS}, ValueType::Integer, FnCompareText},
                                   {"AnsiCompareStr", {kS, kS}, ValueType::Integer, FnAnsiCompareStr},
                                   {"AnsiCompareText", {kS, kS}, ValueType::Integer, FnAnsiCompareText},
                               });
}

} // namespace tl::script
