// What a query of the driver is for, in words the operator knows: the parameter of a pass, the
// element states, the momentary values. The progress display shows it while the query runs.
#pragma once

#include "tlosses/abi.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tl::host {

// "30-минутная мощность (12)", "состояния элементов", ...; "запрос" for a text it does not know.
std::string DescribeQuery(std::string_view sql, std::span<const TlVariant> params);
// The name of a metering parameter a pass reads ("суточная энергия"); empty for another number.
std::string_view ParameterName(int32_t par_number);

// One line of the display, cut to `width` characters (code points) so that it never wraps:
// "… 30-минутная мощность (12): запрос данных · 3.4 с".
std::string FormatProgressLine(std::string_view label, std::string_view phase,
                               std::chrono::milliseconds elapsed, int width);

} // namespace tl::host
