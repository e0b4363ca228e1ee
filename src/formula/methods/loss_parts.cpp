#include "tlmethods/loss_parts.hpp"

#include "tldata/passes.hpp"

#include <cmath>

namespace tl {
namespace {

constexpr int kHourlyPass = 8;
constexpr int32_t kCoronaVoltage = 110; // kV: corona losses count from here up

// Every failure is caught by these checks before it happens, so that the result never depends on
// how the thread's floating-point traps are set.
bool Divide(double numerator, double denominator, double& quotient) {
    if (denominator == 0.0) {
        return false;
    }
    quotient = numerator / denominator;
    return true;
}

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

IntervalFactors FactorsOf(int pass, DateTime interval_time) {
    IntervalFactors factors;
    factors.hours = IntervalHours(pass, interval_time);
    factors.hours_per_year = HoursPerYear(interval_time);
    factors.year_factor = YearFactor(interval_time);
    if (pass >= 0 && pass < kHourlyPass) {
        factors.power_divisor = 60.0 / PassMinutes(pass);
    }
    return factors;
}

std::optional<double> LineLosses(const TMethod1Obj& params, const IntervalFactors& factors, double active,
                                 double reactive) {
    const double wa = active / 1000.0 / factors.power_divisor;
    const double wr = reactive / 1000.0 / factors.power_divisor;
    const double u_work = params.UWork;

    double load = 0;
    if (!Divide(params.r0 * params.l, u_work * u_work * factors.hours, load)) {
        return std::nullopt;
    }
    load *= wa * wa + wr * wr;

    double corona = 0;
    if (params.UWork >= kCoronaVoltage && (params.WkorMode == 0 || params.WkorMode == 1)) {
        const double base = params.WkorMode == 0 ? params.Wkor * factors.year_factor * params.l : params.Wkor;
        const double u_nominal = params.UNominal;
        double ratio = 0;
        if (!Divide(u_work, u_nominal, ratio)) {
            return std::nullopt;
        }
        if (!Divide((6.88 * ratio * ratio - 5.88 * ratio) * base, factors.hours_per_year, corona)) {
            return std::nullopt;
        }
    }

    double insulators = 0;
    if (!Divide(params.Wiz * params.l, factors.hours_per_year, insulators)) {
        return std::nullopt;
    }
    return Finite((load + corona + insulators) * 1000.0);
}

std::optional<double> TransformerLosses(const TMethod1Obj& params, SensorKind kind, double hours,
                                        double active, double reactive) {
    if (kind == SensorKind::kNeither) {
        return 0.0;
    }
    const double apparent_squared = active * active + reactive * reactive;
    double load_share = 0; // S² / Strnom²
    if (!Divide(apparent_squared, params.Strnom * params.Strnom, load_share)) {
        return std::nullopt;
    }
    if (kind == SensorKind::kActive) {
        return Finite((load_share * params.Pkz + params.Pxx) * hours);
    }
    return Finite((params.Ixx / 100.0 * params.Strnom + params.Ukz / 100.0 * params.Strnom * load_share) *
                  hours);
}

} // namespace tl
