#include "date_range_split.hpp"

#include "element_filter.hpp"

#include <cctype>
#include <cmath>
#include <fmt/format.h>
#include <limits>

namespace tl::db {
namespace {

constexpr std::string_view kSelect = "select * from data where ";
constexpr std::string_view kParameter = "parnumber = ";
constexpr std::string_view kBetween = " and data_date between ";
constexpr std::string_view kAnd = " and ";
constexpr std::string_view kOrderByDate = " order by data_date";

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Moves `at` past `word` when the text goes on with it.
bool Take(std::string_view sql, size_t& at, std::string_view word) {
    if (sql.substr(at).starts_with(word)) {
        at += word.size();
        return true;
    }
    return false;
}

// Moves `at` past a named parameter (":name").
bool TakeName(std::string_view sql, size_t& at) {
    if (at + 1 >= sql.size() || sql[at] != ':' || !IsNameStart(sql[at + 1])) {
        return false;
    }
    at += 2;
    while (at < sql.size() && IsNameChar(sql[at])) {
        ++at;
    }
    return true;
}

// Moves `at` past a whole number with an optional minus.
bool TakeInteger(std::string_view sql, size_t& at) {
    size_t end = at < sql.size() && sql[at] == '-' ? at + 1 : at;
    const size_t digits = end;
    while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])) != 0) {
        ++end;
    }
    if (end == digits || (end < sql.size() && IsNameChar(sql[end]))) {
        return false;
    }
    at = end;
    return true;
}

// Where the request's conditions end: before an ORDER BY whose first key is the date, ascending,
// followed by plain columns only. Sorted so, each half comes in its own date order and the halves'
// dates never meet, so the second half still follows the first. Any other ORDER BY (or anything
// after the conditions) gives npos.
size_t ConditionsEnd(std::string_view sql) {
    const size_t order = sql.rfind(kOrderByDate);
    if (order == std::string_view::npos) {
        return sql.find(" order by ") == std::string_view::npos ? sql.size() : std::string_view::npos;
    }
    size_t at = order + kOrderByDate.size();
    while (at < sql.size()) {
        if (!Take(sql, at, ", ") || at >= sql.size() || !IsNameStart(sql[at])) {
            return std::string_view::npos;
        }
        while (at < sql.size() && IsNameChar(sql[at])) {
            ++at;
        }
    }
    return order;
}

std::optional<double> NumberOf(const TlVariant& value) {
    switch (value.kind) {
    case TL_VT_DATETIME:
        return value.v.date_time;
    case TL_VT_DOUBLE:
        return value.v.f64;
    case TL_VT_INT32:
        return value.v.i32;
    case TL_VT_INT64:
        return static_cast<double>(value.v.i64);
    default:
        return std::nullopt;
    }
}

TlVariant Real(double value) {
    TlVariant v{};
    v.kind = TL_VT_DOUBLE;
    v.v.f64 = value;
    return v;
}

} // namespace

std::optional<DateRangeRequest> FindDateRangeRequest(std::string_view sql) {
    size_t at = 0;
    if (!Take(sql, at, kSelect) || !Take(sql, at, kParameter)) {
        return std::nullopt;
    }
    const size_t condition = kSelect.size();
    const bool named_parameter = TakeName(sql, at);
    if (!named_parameter && !TakeInteger(sql, at)) {
        return std::nullopt;
    }
    if (!Take(sql, at, kBetween) || !TakeName(sql, at) || !Take(sql, at, kAnd) || !TakeName(sql, at)) {
        return std::nullopt;
    }
    const size_t range_end = at;
    const size_t conditions_end = ConditionsEnd(sql);
    if (conditions_end == std::string_view::npos || conditions_end < at) {
        return std::nullopt;
    }
    if (at != conditions_end) {
        if (!Take(sql, at, kAnd)) {
            return std::nullopt;
        }
        const std::vector<ElementFilter> filters = FindElementFilters(sql);
        if (filters.size() != 1 || filters.front().begin != at || filters.front().end != conditions_end) {
            return std::nullopt;
        }
    }
    DateRangeRequest request;
    const std::string_view range = sql.substr(condition, range_end - condition);
    request.range_sql = fmt::format("select (select min(data_date) from data where {0}), "
                                    "(select max(data_date) from data where {0})",
                                    range);
    request.begin_value = named_parameter ? 1 : 0;
    request.end_value = request.begin_value + 1;
    return request;
}

std::vector<TlVariant> RangeValues(std::span<const TlVariant> values) {
    std::vector<TlVariant> twice(values.begin(), values.end());
    twice.insert(twice.end(), values.begin(), values.end());
    return twice;
}

std::optional<SplitValues> SplitAt(const DateRangeRequest& request, std::span<const TlVariant> values,
                                   double split) {
    if (values.size() <= request.end_value) {
        return std::nullopt;
    }
    const std::optional<double> begin = NumberOf(values[request.begin_value]);
    const std::optional<double> end = NumberOf(values[request.end_value]);
    // The first half reads up to the real just below the split, so it must not begin at the split.
    if (!begin || !end || !(split > *begin) || !(split <= *end)) {
        return std::nullopt;
    }
    SplitValues halves{{values.begin(), values.end()}, {values.begin(), values.end()}};
    halves.first[request.end_value] = Real(std::nextafter(split, -std::numeric_limits<double>::infinity()));
    halves.second[request.begin_value] = Real(split);
    return halves;
}

} // namespace tl::db
