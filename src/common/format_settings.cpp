#include "tlcommon/format_settings.hpp"

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
    std::string text = fmt::format("{:.{}f}", value, decimals);
    if (Settings().decimal_separator != '.') {
        for (char& c : text) {
            if (c == '.') {
                c = Settings().decimal_separator;
            }
        }
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
