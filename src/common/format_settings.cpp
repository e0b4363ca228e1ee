#include "tlcommon/format_settings.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <fmt/format.h>
#include <string>

namespace tl {
namespace {

char LocaleDecimalPoint() {
    // The C library's locale stays "C" unless the process chose one; ask the environment's.
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    char point = '.';
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const lconv* conv = std::localeconv();
        if (conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] == ',') {
            point = ',';
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return point;
}

FormatSettings& Settings() {
    static FormatSettings settings{LocaleDecimalPoint()};
    return settings;
}

} // namespace

const FormatSettings& SystemFormat() {
    return Settings();
}

void SetSystemDecimalSeparator(char separator) {
    Settings().decimal_separator = separator;
}

void ResetSystemFormat() {
    Settings().decimal_separator = LocaleDecimalPoint();
}

std::string FormatShortDateLongTime(DateTime value) {
    return FormatDateTimeSeconds(value);
}

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value) || decimals < 0) {
        return fmt::format("{:.{}f}", value, std::max(decimals, 0));
    }
    // The shortest decimal text that reads back as `value` is the number an operator typed (every
    // text of up to 15 significant digits survives the trip through a double): it is rounded at
    // `decimals` digits, an exact half away from zero. Rounding the binary value instead would
    // take 2.005, stored just below the half, down to 2.00.
    std::array<char, 400> buffer{}; // the longest fixed text of a double has under 330 characters
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                         std::chars_format::fixed);
    std::string digits(buffer.data(), ec == std::errc() ? end : buffer.data());
    size_t point = digits.find('.');
    if (point == std::string::npos) {
        point = digits.size();
        digits.push_back('.');
    }
    const auto places = static_cast<size_t>(decimals);
    digits.resize(std::max(digits.size(), point + 1 + places + 1), '0');
    const bool round_up = digits[point + 1 + places] >= '5';
    digits.resize(point + 1 + places);
    if (round_up) {
        size_t at = digits.size();
        while (at > 0) {
            --at;
            if (digits[at] == '.') {
                continue;
            }
            if (digits[at] != '9') {
                ++digits[at];
                break;
            }
            digits[at] = '0';
            if (at == 0) {
                digits.insert(digits.begin(), '1');
            }
        }
    }
    if (places == 0) {
        digits.pop_back(); // the point
    }
    // A value that rounds to zero is written without a sign.
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    std::string text = (std::signbit(value) && !zero) ? "-" + digits : digits;
    if (Settings().decimal_separator != '.') {
        std::replace(text.begin(), text.end(), '.', Settings().decimal_separator);
    }
    return text;
}

std::optional<double> ParseFloatStrict(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::string normal(text);
    for (char& c : normal) {
        if (c == ',') {
            c = '.';
        }
    }
    const char* begin = normal.data();
    const char* end = begin + normal.size();
    if (*begin == '+') {
        ++begin; // from_chars refuses a leading plus that Pascal conversions accept
        if (begin == end || *begin == '-') {
            return std::nullopt;
        }
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> ParseIntStrict(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') {
            return std::nullopt;
        }
    }
    if (begin == end) {
        return std::nullopt;
    }
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace tl
