// The arithmetic of the defined formula for one member of a pair at one interval: the losses in
// the line (Value0) and in the transformer (Value1). A part whose arithmetic fails (a division by
// zero, a result that is not finite) gives no value; the caller reports it and writes 0.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/sensor_types.hpp"

#include <optional>

namespace tl {

// What the interval contributes: its length T in hours, the hours per year H and the year factor
// Y, and for the short passes (below the hourly one) the divisor that turns an interval power
// into the energy of an hour.
struct IntervalFactors {
    double hours = 1;          // T
    double hours_per_year = 0; // H
    double year_factor = 1;    // Y
    double power_divisor = 1;  // 60 / interval minutes below pass 8, else 1
};

IntervalFactors FactorsOf(int pass, DateTime interval_time);

// `active` and `reactive` are the row values of the pair's active and reactive member.
std::optional<double> LineLosses(const TMethod1Obj& params, const IntervalFactors& factors, double active,
                                 double reactive);
// The transformer part as the member's own channel kind sees it; 0 for a channel of neither kind.
std::optional<double> TransformerLosses(const TMethod1Obj& params, SensorKind kind, double hours,
                                        double active, double reactive);

} // namespace tl
