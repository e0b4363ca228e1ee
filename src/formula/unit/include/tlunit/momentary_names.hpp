// The momentary value names: code 1..98 by position (Pabc is 1, GSMQuality 98). Codes 1..73 are
// script functions of their own; every code is reachable through M.
#pragma once

#include <cstdint>
#include <string_view>

namespace tl {

inline constexpr int32_t kMomentaryCodeCount = 98;
// Names 1..73 are registered as functions.
inline constexpr int32_t kNamedMomentaryFunctions = 73;

// The name of a code 1..98 as listed; empty outside.
std::string_view MomentaryName(int32_t code);
// The code of a name in any letter case, or -1.
int32_t MomentaryCode(std::string_view name);

} // namespace tl
