// One step of a discreteness, in whole milliseconds.
#pragma once

#include <cstdint>
#include <optional>

namespace tl::tlv {

// The stamp one interval of (kind, count) after ms; nothing for an unknown kind, a count below 1
// or a result outside the calendar range.
std::optional<int64_t> StepMillis(int64_t ms, uint8_t kind, int32_t count);

} // namespace tl::tlv
