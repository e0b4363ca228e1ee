#include "script_date.hpp"

#include "ansi_text.hpp"
#include "tlcommon/date_time.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <fmt/format.h>
#include <vector>

namespace tl::script {
namespace {

constexpr int64_t kDayOffset = 693594; // days from 01.01.0001 to 30.12.1899

// Names of the Russian locale, in Windows-1251. The long date puts the month in the genitive.
struct Names {
    std::array<std::string, 7> short_days;
    std::array<std::string, 7> long_days;
    std::array<std::string, 12> short_months;
    std::array<std::string, 12> long_months;
    std::array<std::string, 12> genitive_months;
    std::string year_mark;
};

template <size_t N>
std::array<std::string, N> Convert(const std::array<const char*, N>& utf8) {
    std::array<std::string, N> result;
    for (size_t i = 0; i < N; ++i) {
        result[i] = ToCp1251(utf8[i]);
    }
    return result;
}

const Names& RussianNames() {
    static const Names names{
        Convert<7>({"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"}),
        Convert<7>({"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница", "суббота"}),
        Convert<12>({"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"}),
        Convert<12>({"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
                     "Октябрь", "Ноябрь", "Декабрь"}),
        Convert<12>({"января", "февраля", "марта", "апреля", "мая", "июня", "июля", "августа", "сентября",
                     "октября", "ноября", "декабря"}),
        ToCp1251(" г."),
    };
    return names;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// A format that names a half of the day shows hours on the 12-hour clock.
bool UsesTwelveHours(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '"' || c == '\'') {
            size_t end = format.find(c, i + 1);
            i = end == std::string_view::npos ? format.size() : end;
        } else if (StartsWithNoCase(format.substr(i), "am/pm") || StartsWithNoCase(format.substr(i), "a/p") ||
                   StartsWithNoCase(format.substr(i), "ampm")) {
            return true;
        }
    }
    return false;
}

class DateFormatter {
public:
    DateFormatter(const ScriptDate& date, std::string& out) : d_(date), out_(out) {}

    void Run(std::string_view format, bool twelve_hours) {
        bool after_hour = false; // m and mm right after h or hh are minutes
        size_t i = 0;
        while (i < format.size()) {
            char c = format[i];
            char u = AsciiUpper(c);
            if (c == '"' || c == '\'') {
                size_t end = format.find(c, i + 1);
                end = end == std::string_view::npos ? format.size() : end;
                out_.append(format.substr(i + 1, end - i - 1));
                i = end + 1;
                continue;
            }
            if (std::string_view("CDMYHNSZT").find(u) != std::string_view::npos) {
                size_t count = 1;
                while (i + count < format.size() && AsciiUpper(format[i + count]) == u) {
                    ++count;
                }
                i += count;
                Specifier(u, count, after_hour, twelve_hours);
                after_hour = u == 'H';
                continue;
            }
            if (u == 'A') {
                i += HalfOfDay(format.substr(i));
                after_hour = false;
                continue;
            }
            out_.push_back(c == '/' ? '.' : c);
            if (c == ' ') {
                after_hour = false;
            }
            ++i;
        }
    }

private:
    void Number(int value, size_t width) { fmt::format_to(std::back_inserter(out_), "{:0{}}", value, width); }

    void Specifier(char u, size_t count, bool after_hour, bool twelve_hours) {
        const Names& names = RussianNames();
        switch (u) {
        case 'C':
            Run("dd.mm.yyyy", false);
            if (d_.hour != 0 || d_.minute != 0 || d_.second != 0) {
                out_.push_back(' ');
                Run("hh:nn:ss", twelve_hours);
            }
            break;
        case 'D':
            if (count <= 2) {
                Number(d_.day, count);
            } else if (count == 3) {
                out_ += names.short_days[static_cast<size_t>(d_.day_of_week - 1)];
            } else if (count == 4) {
                out_ += names.long_days[static_cast<size_t>(d_.day_of_week - 1)];
            } else if (count == 5) {
                Run("dd.mm.yyyy", false);
            } else {
                Number(d_.day, 1);
                out_ += ' ' + names.genitive_months[static_cast<size_t>(d_.month - 1)] + ' ';
                Number(d_.year, 4);
                out_ += names.year_mark;
            }
            break;
        case 'M':
            if (after_hour && count <= 2) {
                Number(d_.minute, count);
            } else if (count <= 2) {
                Number(d_.month, count);
            } else {
                const auto& table = count == 3 ? names.short_months : names.long_months;
                out_ += table[static_cast<size_t>(d_.month - 1)];
            }
            break;
        case 'Y':
            Number(count <= 2 ? d_.year % 100 : d_.year, count <= 2 ? 2 : 4);
            break;
        case 'H': {
            int hour = d_.hour;
            if (twelve_hours) {
                hour = hour % 12 == 0 ? 12 : hour % 12;
            }
            Number(hour, std::min<size_t>(count, 2));
            break;
        }
        case 'N':
            Number(d_.minute, std::min<size_t>(count, 2));
            break;
        case 'S':
            Number(d_.second, std::min<size_t>(count, 2));
            break;
        case 'Z':
            Number(d_.millisecond, count == 1 ? 1 : 3);
            break;
        case 'T':
            Run(count == 1 ? "hh:nn" : "hh:nn:ss", twelve_hours);
            break;
        default:
            break;
        }
    }

    // am/pm and a/p show the half as written in the format; ampm shows AM or PM. Returns the
    // length of format consumed.
    size_t HalfOfDay(std::string_view format) {
        bool pm = d_.hour >= 12;
        if (StartsWithNoCase(format, "am/pm")) {
            out_.append(format.substr(pm ? 3 : 0, 2));
            return 5;
        }
        if (StartsWithNoCase(format, "a/p")) {
            out_.push_back(format[pm ? 2 : 0]);
            return 3;
        }
        if (StartsWithNoCase(format, "ampm")) {
            out_.append(pm ? "PM" : "AM");
            return 4;
        }
        out_.push_back(format[0]);
        return 1;
    }

    const ScriptDate& d_;
    std::string& out_;
};

// Splits text at sep into parts of 1..max_digits decimal digits each.
bool NumberParts(std::string_view text, char sep, size_t max_digits,
                 std::vector<std::pair<int, size_t>>& parts) {
    parts.clear();
    size_t start = 0;
    for (;;) {
        size_t end = text.find(sep, start);
        std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty() || part.size() > max_digits) {
            return false;
        }
        int value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') {
                return false;
            }
            value = value * 10 + (c - '0');
        }
        parts.emplace_back(value, part.size());
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

// A two-digit year lies within 50 years before and 49 after this year.
int ExpandTwoDigitYear(int year) {
    int threshold = DecodeDateTime(Today()).year - 50;
    year += threshold / 100 * 100;
    return year < threshold ? year + 100 : year;
}

} // namespace

bool InDateRange(double value) {
    return std::isfinite(value) && value > -693594.0 && value < 2958466.0;
}

ScriptDate DecodeScriptDate(double value) {
    ScriptDate d;
    double whole = std::trunc(value);
    d.days = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++d.days;
    }
    DateTimeParts date = DecodeDateTime(static_cast<double>(d.days));
    d.year = date.year;
    d.month = date.month;
    d.day = date.day;
    d.hour = static_cast<int>(ms / 3'600'000);
    d.minute = static_cast<int>(ms / 60'000 % 60);
    d.second = static_cast<int>(ms / 1000 % 60);
    d.millisecond = static_cast<int>(ms % 1000);
    d.day_of_week = static_cast<int>((d.days + kDayOffset) % 7) + 1;
    return d;
}

double JoinDateAndTime(double date, double time) {
    return date >= 0 ? date + time : date - time;
}

double EncodeTimeOfDay(int hour, int minute, int second, int millisecond) {
    int64_t ms = hour * 3'600'000LL + minute * 60'000LL + second * 1000LL + millisecond;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

std::string FormatScriptDateTime(std::string_view format, double value) {
    ScriptDate date = DecodeScriptDate(value);
    std::string out;
    DateFormatter(date, out).Run(format, UsesTwelveHours(format));
    return out;
}

bool ParseScriptDate(std::string_view text, double& value) {
    std::vector<std::pair<int, size_t>> parts;
    if (!NumberParts(TrimBlanks(text), '.', 4, parts) || parts.size() < 2 || parts.size() > 3) {
        return false;
    }
    int day = parts[0].first;
    int month = parts[1].first;
    int year = DecodeDateTime(Today()).year;
    if (parts.size() == 3) {
        year = parts[2].second <= 2 ? ExpandTwoDigitYear(parts[2].first) : parts[2].first;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return false;
    }
    value = EncodeDate(year, month, day);
    return true;
}

bool ParseScriptTime(std::string_view text, double& value) {
    text = TrimBlanks(text);
    int millisecond = 0;
    size_t point = text.find('.');
    std::vector<std::pair<int, size_t>> parts;
    if (point != std::string_view::npos) {
        if (!NumberParts(text.substr(point + 1), '\0', 3, parts)) {
            return false;
        }
        millisecond = parts[0].first;
        text = text.substr(0, point);
    }
    if (!NumberParts(text, ':', 2, parts) || parts.size() < 2 || parts.size() > 3 ||
        (point != std::string_view::npos && parts.size() != 3)) {
        return false;
    }
    int hour = parts[0].first;
    int minute = parts[1].first;
    int second = parts.size() == 3 ? parts[2].first : 0;
    if (hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    value = EncodeTimeOfDay(hour, minute, second, millisecond);
    return true;
}

bool ParseScriptDateTime(std::string_view text, double& value) {
    text = TrimBlanks(text);
    size_t blank = text.find_first_of(" \t");
    double date = 0;
    double time = 0;
    if (!ParseScriptDate(text.substr(0, blank), date)) {
        return false;
    }
    if (blank != std::string_view::npos && !ParseScriptTime(text.substr(blank), time)) {
        return false;
    }
    value = JoinDateAndTime(date, time);
    return true;
}

} // namespace tl::script
