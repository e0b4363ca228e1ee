// Date-times as people write them in files: "yyyy-mm-dd hh:nn[:ss[.zzz]]", local time.
#pragma once

#include "tlcommon/date_time.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Every position is checked: four-digit year, two-digit month, day, hour and minute, optional
// two-digit seconds and, after them, optional three-digit milliseconds. Nothing for any other
// text or a date that does not exist.
std::optional<DateTime> ParseIsoDateTime(std::string_view text);

// "yyyy-mm-dd hh:nn:ss", and ".zzz" behind when the milliseconds are not zero.
std::string FormatIsoDateTime(DateTime value);

} // namespace tl
