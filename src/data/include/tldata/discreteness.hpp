// Discreteness of stored values: a kind (year ... millisecond) and a number of units, as the time
// discretisation library and the `parameters` table give it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tl {

enum class DiscretKind : uint8_t {
    kYear = 0,
    kQuarter = 1,
    kMonth = 2,
    kDay = 3,
    kHour = 4,
    kMinute = 5,
    kSecond = 6,
    kFixed = 7,
    kMillisecond = 8,
};

struct Discreteness {
    DiscretKind kind = DiscretKind::kMinute;
    int32_t count = 0;

    friend bool operator==(const Discreteness&, const Discreteness&) = default;
};

// The name of a kind in messages; only the low seven bits of the byte count.
std::string_view DiscretKindName(uint8_t kind);

// Momentary values can be calculated with when they are stored every 1 to 30 minutes or every
// so many seconds.
bool IsSupportedMomentaryDiscreteness(const Discreteness& discreteness);

} // namespace tl
