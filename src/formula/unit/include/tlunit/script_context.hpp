// What the functions of MyUnit read while a program runs for one interval: the rows of the
// stamp, the interval, and the run's element states and calculation objects. The run fills one
// before every execution; nothing is owned.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstdint>

namespace tl {

class TDataList;
class TStateContainer;
class TCalcObjects;

struct ScriptContext {
    // Power and energy rows of the stamp (W, P, W2, P2); none: those functions give 0.
    const TDataList* data = nullptr;
    // Momentary rows of the stamp (M and the named momentary functions).
    const TDataList* momentary = nullptr;
    // Set once the discreteness of the momentary values was accepted; while clear the momentary
    // functions give 0.
    bool momentary_accepted = false;
    // 0..12: the pass of the interval.
    int interval_index = 0;
    // End of the interval.
    DateTime interval_time = 0;
    // 0 or 4023, handed to every state lookup.
    int32_t season_key = 0;
    // The run's element states (MO, DI); none: those functions give -1.
    const TStateContainer* states = nullptr;
    const TCalcObjects* calc_objects = nullptr;
};

} // namespace tl
