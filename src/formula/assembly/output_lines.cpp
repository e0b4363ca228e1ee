#include "tlassembly/output_lines.hpp"

#include "tlcommon/format_settings.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <fmt/format.h>

namespace tl {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// StrToFloat of the text with "," and "." both standing for the decimal separator: blanks around
// the number allowed, an optional sign, digits, one separator and an exponent. Numbers of the
// output are a few dozen characters; anything longer than the buffer is no number it prints.
bool TextToFloat(std::string_view text, double& value) {
    text = TrimBlanks(text);
    std::array<char, 64> buffer{};
    if (text.empty() || text.size() > buffer.size()) {
        return false;
    }
    size_t n = 0;
    for (char c : text) {
        if (c == ',') {
            c = '.';
        } else if (!(c >= '0' && c <= '9') && c != '.' && c != '+' && c != '-' && c != 'e' && c != 'E') {
            return false; // also keeps out "inf" and "nan", which from_chars would take
        }
        buffer[n++] = c;
    }
    const char* begin = buffer.data();
    const char* end = begin + n;
    if (*begin == '+') {
        ++begin; // from_chars refuses the plus sign that StrToFloat accepts
        if (begin == end || *begin == '-' || *begin == '+') {
            return false;
        }
    }
    double parsed = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, parsed);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

// The line as the run script prints it: "Result<r>=" and a number without an exponent whose digits,
// leading zeros left aside, make an integer below 2^53 with at most 22 of them after the separator.
// Such an integer and its power of ten are exact doubles, so one division gives the correctly
// rounded value, the same as the full conversion. False for anything else, which the full reading
// takes.
bool ReadPlainResultLine(int result_number, std::string_view line, double& value) {
    constexpr std::string_view kTag = "Result";
    constexpr size_t kValueAt = kTag.size() + 2;
    if (result_number < 0 || result_number > 9 || line.size() <= kValueAt || !line.starts_with(kTag) ||
        line[kTag.size()] != static_cast<char>('0' + result_number) || line[kTag.size() + 1] != '=') {
        return false;
    }
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kMaxFractionDigits = 22;
    constexpr int kMaxSignificantDigits = 16; // below 10^16: no overflow before the 2^53 check
    constexpr uint64_t kExactLimit = uint64_t{1} << 53;
    size_t i = kValueAt;
    const bool negative = line[i] == '-';
    i += negative ? 1 : 0;
    uint64_t mantissa = 0;
    int digits = 0;
    int significant = 0;
    int fraction_digits = 0;
    bool separator = false;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            significant += mantissa != 0 ? 1 : 0;
            fraction_digits += separator ? 1 : 0;
            if (significant > kMaxSignificantDigits) {
                return false;
            }
        } else if ((c == '.' || c == ',') && !separator && digits > 0) {
            separator = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || (separator && fraction_digits == 0) || fraction_digits > kMaxFractionDigits ||
        mantissa > kExactLimit) {
        return false;
    }
    const double magnitude = static_cast<double>(mantissa) / kPow10[fraction_digits];
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

void SplitOutputLines(std::string_view output, std::vector<std::string_view>& lines) {
    lines.clear();
    output = TrimBlanks(output);
    if (output.empty()) {
        return;
    }
    for (;;) {
        const size_t lf = output.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back(output);
            return;
        }
        std::string_view line = output.substr(0, lf);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        output.remove_prefix(lf + 1);
    }
}

std::string InvalidFloatMessage(std::string_view text) {
    return fmt::format("\"{}\" is an invalid float", text);
}

OutputValue ParseOutputLine(int result_number, std::string_view line) {
    OutputValue result;
    if (ReadPlainResultLine(result_number, line, result.value)) {
        result.found = true;
        return result;
    }
    std::array<char, 16> tag{};
    const auto tag_end = fmt::format_to_n(tag.data(), tag.size(), "Result{}", result_number).out;
    if (line.find(std::string_view(tag.data(), static_cast<size_t>(tag_end - tag.data()))) ==
        std::string_view::npos) {
        return result;
    }
    result.found = true;

    // Without an "=" the whole line is the value text, as a copy from the position after a
    // missing "=" takes it.
    const size_t equals = line.find('=');
    const std::string_view text = equals == std::string_view::npos ? line : line.substr(equals + 1);
    if (text.find("Err:") != std::string_view::npos) {
        result.error.assign(text.substr(std::min<size_t>(4, text.size())));
        return result;
    }
    // The value is written with the engine's decimal separator, which need not be the system's:
    // both "," and "." become the system separator before the conversion.
    if (!TextToFloat(text, result.value)) {
        const char separator = SystemFormat().decimal_separator;
        std::string converted(text);
        for (char& c : converted) {
            if (c == ',' || c == '.') {
                c = separator;
            }
        }
        result.value = 0;
        result.error = InvalidFloatMessage(converted);
    }
    return result;
}

} // namespace tl
