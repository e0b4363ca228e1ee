// Conversions between the kinds of value a result set holds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace tl::db {

// A number written as text: optional blanks around it, a sign, digits, "." or "," as the decimal
// separator, an exponent. Nothing else may follow.
std::optional<double> ParseNumber(std::string_view text);
// A whole number in text, within the 64-bit range.
std::optional<int64_t> ParseInteger(std::string_view text);
// "yyyy-mm-dd[ hh:nn[:ss[.zzz]]]" (also with "T") or "dd.mm.yyyy[ hh:nn[:ss[.zzz]]]", as days
// since 30.12.1899.
std::optional<double> ParseDateTimeText(std::string_view text);

// Rounds to the nearest integer (halves away from zero) and saturates; NaN gives 0.
int64_t RoundToInt64(double value);
inline int32_t SaturateToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace tl::db
