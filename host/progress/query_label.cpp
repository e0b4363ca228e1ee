#include "tlhost/query_label.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <fmt/format.h>

namespace tl::host {
namespace {

struct ParameterEntry {
    int32_t number;
    std::string_view name;
};

constexpr std::array<ParameterEntry, 14> kParameters = {{
    {2, "3-минутная мощность"},
    {4, "1-минутная мощность"},
    {5, "2-минутная мощность"},
    {6, "4-минутная мощность"},
    {7, "5-минутная мощность"},
    {8, "6-минутная мощность"},
    {9, "10-минутная мощность"},
    {12, "30-минутная мощность"},
    {18, "часовая мощность"},
    {26, "суточная энергия"},
    {36, "месячная энергия"},
    {46, "квартальная энергия"},
    {56, "годовая энергия"},
    {1100, "мгновенные значения"},
}};

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    const auto found = std::ranges::search(text, word, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return !found.empty();
}

// The value bound to the first occurrence of `name` (the k-th parameter of a text binds to its
// k-th occurrence), when it is an integer.
bool IntegerParameter(std::string_view sql, std::span<const TlVariant> params, std::string_view name,
                      int32_t& value) {
    const size_t at = sql.find(name);
    if (at == std::string_view::npos) {
        return false;
    }
    size_t index = 0;
    for (size_t pos = sql.find(':'); pos != std::string_view::npos && pos < at;
         pos = sql.find(':', pos + 1)) {
        if (pos + 1 < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[pos + 1])) != 0)) {
            ++index;
        }
    }
    if (index >= params.size()) {
        return false;
    }
    const TlVariant& v = params[index];
    if (v.kind == TL_VT_INT32) {
        value = v.v.i32;
        return true;
    }
    if (v.kind == TL_VT_INT64) {
        value = static_cast<int32_t>(v.v.i64);
        return true;
    }
    return false;
}

std::string WithNumber(int32_t number) {
    const std::string_view name = ParameterName(number);
    return name.empty() ? fmt::format("параметр {}", number) : fmt::format("{} ({})", name, number);
}

} // namespace

std::string_view ParameterName(int32_t par_number) {
    const auto* found = std::ranges::find(kParameters, par_number, &ParameterEntry::number);
    return found == kParameters.end() ? std::string_view() : found->name;
}

std::string DescribeQuery(std::string_view sql, std::span<const TlVariant> params) {
    if (sql.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return "нечего запрашивать";
    }
    if (ContainsIgnoringCase(sql, "from eventlist")) {
        return "состояния элементов";
    }
    if (ContainsIgnoringCase(sql, "from parameters")) {
        return "дискретность мгновенных значений (1100)";
    }
    if (ContainsIgnoringCase(sql, "from data")) {
        int32_t number = 0;
        if (IntegerParameter(sql, params, ":pn1", number)) {
            return WithNumber(number);
        }
        if (ContainsIgnoringCase(sql, "parnumber = 1100")) {
            return WithNumber(1100);
        }
    }
    return "запрос";
}

std::string FormatProgressLine(std::string_view label, std::string_view phase,
                               std::chrono::milliseconds elapsed, int width) {
    const auto tenths = elapsed.count() / 100;
    std::string line = fmt::format("… {}: {} · {}.{} с", label, phase, tenths / 10, tenths % 10);
    // Cut at a code point boundary: count the bytes that do not continue a UTF-8 sequence.
    int points = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80 && points++ == std::max(width, 0)) {
            line.resize(i);
            break;
        }
    }
    return line;
}

} // namespace tl::host
