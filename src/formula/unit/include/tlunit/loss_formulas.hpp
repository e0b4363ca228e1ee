// Standard losses of transformers and lines in kW·h (kvar·h for the reactive line losses) for one
// interval. Pure arithmetic: a power factor of 0 means 0.85 and a time of 0 means the interval
// length `interval_hours`. Every operation is checked, and a division by zero or a value that
// is not finite makes the result 0; nothing is reported.
#pragma once

namespace tl {

inline constexpr double kDefaultPowerFactor = 0.85;

// Two-winding transformer: no-load losses pxx, short-circuit losses pk, rated power snom, the
// energy w through it.
struct TwoWindingLoad {
    double pxx = 0;
    double pk = 0;
    double snom = 0;
    double cosf = 0;
    double t = 0;
    double w = 0;
};

// Three-winding transformer: short-circuit losses and rated powers per winding pair, energies
// per winding.
struct ThreeWindingLoad {
    double pxx = 0;
    double pk_up = 0;
    double pk_mid = 0;
    double pk_down = 0;
    double snom_up = 0;
    double snom_mid = 0;
    double snom_down = 0;
    double cosf = 0;
    double t = 0;
    double w_up = 0;
    double w_mid = 0;
    double w_down = 0;
};

// A line of length l with resistance (or reactance) per km r0, no-load losses p0 (active or
// reactive), current i and hours of use of the maximum load tm.
struct LineLoad {
    double l = 0;
    double r0 = 0;
    double p0 = 0;
    double i = 0;
    double tm = 0;
    double t = 0;
};

double TwoWindingLosses(const TwoWindingLoad& load, double interval_hours);
double ThreeWindingLosses(const ThreeWindingLoad& load, double interval_hours);
// The active losses with (Ro, Pxx), the reactive ones with (Xo, Qxx).
double LineLosses(const LineLoad& load, double interval_hours);

} // namespace tl
