#include "tlcommon/iso_date_time.hpp"

#include <fmt/format.h>

namespace tl {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits at [at, at + length), or nothing when any of them is not a digit.
std::optional<int> Number(std::string_view text, size_t at, size_t length) {
    int value = 0;
    for (size_t i = at; i < at + length; ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<DateTime> ParseIsoDateTime(std::string_view text) {
    // "yyyy-mm-dd hh:nn" is 16 characters, with ":ss" 19, with ".zzz" 23.
    if (text.size() != 16 && text.size() != 19 && text.size() != 23) {
        return std::nullopt;
    }
    if (text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        (text.size() > 16 && text[16] != ':') || (text.size() > 19 && text[19] != '.')) {
        return std::nullopt;
    }
    const auto year = Number(text, 0, 4);
    const auto month = Number(text, 5, 2);
    const auto day = Number(text, 8, 2);
    const auto hour = Number(text, 11, 2);
    const auto minute = Number(text, 14, 2);
    const auto second = text.size() > 16 ? Number(text, 17, 2) : std::optional<int>(0);
    const auto millisecond = text.size() > 19 ? Number(text, 20, 3) : std::optional<int>(0);
    if (!year || !month || !day || !hour || !minute || !second || !millisecond) {
        return std::nullopt;
    }
    if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) ||
        *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return EncodeDateTime({*year, *month, *day, *hour, *minute, *second, *millisecond});
}

std::string FormatIsoDateTime(DateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    std::string text = fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", p.year, p.month, p.day, p.hour,
                                   p.minute, p.second);
    if (p.millisecond != 0) {
        text += fmt::format(".{:03}", p.millisecond);
    }
    return text;
}

} // namespace tl
