// The state behind the functions of MyUnit, reached by every handler through its registration.
#pragma once

#include "momentary_cache.hpp"
#include "tlunit/script_context.hpp"
#include "tlunit/used_elements.hpp"

namespace tl {

struct UnitState {
    ScriptContext context;
    bool collecting = false;
    // T of the current interval, worked out once per context.
    double interval_hours = 1.0;
    MomentaryCache momentary_cache;
    UsedElements used_power;
    UsedElements used_momentary;
    UsedElements used_states;
};

} // namespace tl
