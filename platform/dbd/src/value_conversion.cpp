#include "value_conversion.hpp"

#include "tlcommon/date_time.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace tl::db {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads `count` digits at text[pos] (count 0: one or more) into *value; advances pos.
bool ReadDigits(std::string_view text, size_t& pos, int count, int& value) {
    const size_t begin = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' &&
           (count == 0 || static_cast<int>(pos - begin) < count)) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    const int read = static_cast<int>(pos - begin);
    return count == 0 ? read > 0 && read <= 9 : read == count;
}

bool Expect(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// "hh:nn[:ss[.zzz]]" from pos to the end of the text.
bool ReadTimeOfDay(std::string_view text, size_t pos, DateTimeParts& parts) {
    if (!ReadDigits(text, pos, 0, parts.hour) || !Expect(text, pos, ':') ||
        !ReadDigits(text, pos, 2, parts.minute)) {
        return false;
    }
    if (Expect(text, pos, ':')) {
        if (!ReadDigits(text, pos, 2, parts.second)) {
            return false;
        }
        if (Expect(text, pos, '.') && !ReadDigits(text, pos, 3, parts.millisecond)) {
            return false;
        }
    }
    return pos == text.size() && parts.hour < 24 && parts.minute < 60 && parts.second < 60;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    // A copy with "." for "," on the stack: long texts are no numbers anyway.
    char copy[64];
    if (text.size() >= sizeof(copy)) {
        return std::nullopt;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        copy[i] = text[i] == ',' ? '.' : text[i];
    }
    double value = 0.0;
    const char* end = copy + text.size();
    const auto result = std::from_chars(copy, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+' && (text.size() < 2 || text[1] != '-')) {
        text.remove_prefix(1);
    }
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDateTimeText(std::string_view text) {
    text = Trim(text);
    DateTimeParts parts;
    parts.hour = parts.minute = parts.second = parts.millisecond = 0;
    size_t pos = 0;
    if (text.size() >= 10 && text[4] == '-') {
        if (!ReadDigits(text, pos, 4, parts.year) || !Expect(text, pos, '-') ||
            !ReadDigits(text, pos, 2, parts.month) || !Expect(text, pos, '-') ||
            !ReadDigits(text, pos, 2, parts.day)) {
            return std::nullopt;
        }
    } else if (text.size() >= 10 && text[2] == '.') {
        if (!ReadDigits(text, pos, 2, parts.day) || !Expect(text, pos, '.') ||
            !ReadDigits(text, pos, 2, parts.month) || !Expect(text, pos, '.') ||
            !ReadDigits(text, pos, 4, parts.year)) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    if (parts.month < 1 || parts.month > 12 || parts.day < 1 ||
        parts.day > DaysInMonth(parts.year, parts.month)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if ((text[pos] != ' ' && text[pos] != 'T') || !ReadTimeOfDay(text, pos + 1, parts)) {
            return std::nullopt;
        }
    }
    return EncodeDateTime(parts);
}

int64_t RoundToInt64(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLimit = 9.2233720368547748e18; // 2^63
    if (value >= kLimit) {
        return std::numeric_limits<int64_t>::max();
    }
    if (value <= -kLimit) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(std::round(value));
}

} // namespace tl::db
