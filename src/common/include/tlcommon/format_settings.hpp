// The "system" formats of the module: the decimal separator of numbers written and read as text
// (parameter records, number conversions) and the short date and long time of status lines.
// One module-wide object, taken from the process locale's decimal point at first use; the host
// may override the separator.
#pragma once

#include "tlcommon/date_time.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace tl {

struct FormatSettings {
    char decimal_separator = '.';
};

const FormatSettings& SystemFormat();
void SetSystemDecimalSeparator(char separator);
// Back to the process locale's decimal point.
void ResetSystemFormat();

// "dd.mm.yyyy hh:nn:ss": the short date and long time of the metering system's installations.
std::string FormatShortDateLongTime(DateTime value);

// "%f" with `decimals` digits after the separator of the system format. A value whose decimal
// text lies exactly halfway (0.125, 2.005 as typed) rounds away from zero; zero has no sign.
std::string FormatFixed(double value, int decimals);

// Strict number conversions of texts written with either decimal separator: the whole text must
// be the number (no blanks, no trailing characters).
std::optional<double> ParseFloatStrict(std::string_view text);
std::optional<int32_t> ParseIntStrict(std::string_view text);

} // namespace tl
