// The text of the event query of the element states.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The discrete-input part for the devices and inputs (decimal lists joined by ", "), its
// alternative-date part with `alt_date`; three parameters each: start, start, end.
std::string DiscreteInputEventSql(std::string_view devices, std::string_view inputs, bool alt_date);
// The measurement-object part likewise.
std::string MeasurementObjectEventSql(std::string_view objects, bool alt_date);

inline constexpr std::string_view kEventUnion = "\r\nunion\r\n";
inline constexpr std::string_view kEventOrder = "\r\norder by 3, 4, 5, 1, 7, 6";

} // namespace tl
