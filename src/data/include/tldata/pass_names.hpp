// The interval kinds of the passes named as people type them in tools: "3min" ... "10min",
// "30min", "hour", "day", "month", "quarter", "year", and their titles.
#pragma once

#include <optional>
#include <string_view>

namespace tl {

// "30min" for pass 7; empty outside 0..12.
std::string_view PassName(int pass);
// "30 minutes" for pass 7; empty outside 0..12.
std::string_view PassTitle(int pass);
// The pass of a name, or nothing.
std::optional<int> PassOfName(std::string_view name);
// Every name in pass order, separated by ", ".
std::string_view PassNameList();

} // namespace tl
