// Momentary values for the demo's formulas: the phase voltage Ua (momentary code 13, parameter
// 1100) of every device, a few per cent above its nominal phase voltage and wandering with a
// hashed noise, every `step_minutes` over the days with 30-minute data; and the row of parameter
// 1100 that declares that discreteness (minutes).
#pragma once

#include "tldemo/scenario.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>

namespace tl::demo {

inline constexpr int32_t kMomentaryParNumber = 1100;
inline constexpr int32_t kPhaseVoltageA = 13; // Ua

// Phase voltage in kV of a device whose lines run at `nominal_kv`, at minute `minute` of day `day`.
double PhaseVoltage(int32_t device_code, double nominal_kv, int64_t day, int minute);

// Writes the rows in one transaction (the schema exists); returns the number of voltage rows.
int64_t WriteVoltages(tl::db::Connection& connection, const Scenario& scenario, int step_minutes);

} // namespace tl::demo
