// The handlers of MyUnit's functions. Each finds the UnitState as the registration's user data;
// the tag tells apart the names one handler serves.
#pragma once

#include "tlscript/call_frame.hpp"
#include "unit_state.hpp"

#include <cstdint>

namespace tl {

inline UnitState& StateOf(script::CallFrame& f) {
    return *static_cast<UnitState*>(f.UserData());
}

// Interval indexes where the conversions between energy and power change.
inline constexpr int kHourPass = 8;
inline constexpr int kDayPass = 9;

// Tags of the energy/power handler.
inline constexpr intptr_t kTagPower = 1;    // P, P2 (else W, W2)
inline constexpr intptr_t kTagWithType = 2; // W2, P2: the element type is an argument
// Tag of M, whose code is its fourth argument; the named momentary functions carry their code.
inline constexpr intptr_t kTagCodeArgument = 0;

void EnergyFunction(script::CallFrame& f);
void MomentaryFunction(script::CallFrame& f);

void IntervalHoursFunction(script::CallFrame& f);
void MeasurementObjectState(script::CallFrame& f);
void DiscreteInputState(script::CallFrame& f);
void CalcDiscretFunction(script::CallFrame& f);
void ParnumberFunction(script::CallFrame& f);
void PercentFunction(script::CallFrame& f);

void T3LossesFunction(script::CallFrame& f);
void T2LossesFunction(script::CallFrame& f);
void LineLossesFunction(script::CallFrame& f);

} // namespace tl
