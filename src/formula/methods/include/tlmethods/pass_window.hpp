// The window of a pass, its first and last stamp, and the walk from stamp to stamp. While a pass
// is processed `begin` is the current stamp.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace tl {

struct PassWindow {
    int pass = 0;
    DateTime begin = 0;
    DateTime end = 0;
};

// Sets the window of `pass` for the period `begin`..`end`: the begin aligned forward and the end
// backward to the pass's interval boundaries. A period that lies within one interval (the same
// minute for the minute and hour passes, the same day, month, quarter or year for the others)
// collapses to the single stamp of the aligned end. True when the window holds a stamp.
bool PreparePass(PassWindow& window, int pass, DateTime begin, DateTime end);

// Moves `begin` on by one interval of the pass; true while it has not passed the end by more than
// a millisecond. False also at the end of the calendar (9999), where no interval follows.
bool NextStamp(PassWindow& window);

// Stamps from the window's begin to its end, both counted, but no more than `cap`: at once for
// the minute, hour and day passes, one step at a time (a dozen a year) for the others.
size_t StampCount(PassWindow window, size_t cap = std::numeric_limits<size_t>::max());

// Moves `begin` on to the first stamp at or after `ms` (milliseconds of the date), as repeated
// NextStamp would; true when that stamp lies within the window.
bool SkipTo(PassWindow& window, int64_t ms);

} // namespace tl
