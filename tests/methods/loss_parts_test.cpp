// The line and transformer parts of the defined formula. The load parts of a fully loaded line and
// transformer run with worked values in the scenarios.
#include "tlcommon/date_time.hpp"
#include "tlmethods/loss_parts.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace tl {
namespace {

DateTime At(int year, int month, int day, int hour = 0) {
    return EncodeDateTime({year, month, day, hour, 0, 0, 0});
}

TMethod1Obj Line(double r0, double l, int32_t u_work, int32_t u_nominal, double wiz = 0, double wkor = 0,
                 int32_t wkor_mode = 0) {
    TMethod1Obj params;
    params.r0 = r0;
    params.l = l;
    params.UWork = u_work;
    params.UNominal = u_nominal;
    params.Wiz = wiz;
    params.Wkor = wkor;
    params.WkorMode = wkor_mode;
    return params;
}

TMethod1Obj Transformer(double strnom, double pkz, double pxx, double ixx, double ukz) {
    TMethod1Obj params;
    params.Strnom = strnom;
    params.Pkz = pkz;
    params.Pxx = pxx;
    params.Ixx = ixx;
    params.Ukz = ukz;
    return params;
}

void ExpectValue(const std::optional<double>& actual, const std::optional<double>& expected,
                 const char* name) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << name;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-12 * std::max(1.0, std::fabs(*expected))) << name;
    }
}

TEST(LossPartsTest, LineLosses) {
    const double ratio = 220.0 / 110.0;
    const double corona_factor = 6.88 * ratio * ratio - 5.88 * ratio;
    struct Case {
        const char* name;
        TMethod1Obj params;
        DateTime time;
        double active;
        double reactive;
        std::optional<double> expected;
    } const cases[] = {
        {"insulators", Line(0, 10, 10, 10, 2), At(2014, 11, 1, 1), 1000, 0, 2.0 * 10 / 8760 * 1000},
        {"insulators in a leap year", Line(0, 10, 10, 10, 2), At(2017, 1, 1), 1000, 0,
         2.0 * 10 / 8784 * 1000},
        {"corona per km", Line(0, 10, 220, 110, 0, 3, 0), At(2014, 11, 1, 1), 0, 0,
         corona_factor * 3 * 10 / 8760 * 1000},
        {"corona per km in a leap year", Line(0, 10, 220, 110, 0, 3, 0), At(2016, 5, 1), 0, 0,
         corona_factor * 3 * (366.0 / 365.0) * 10 / 8784 * 1000},
        {"corona of the whole line", Line(0, 10, 220, 110, 0, 3, 1), At(2014, 11, 1, 1), 0, 0,
         corona_factor * 3 / 8760 * 1000},
        {"no corona below 110 kV", Line(0, 10, 35, 35, 0, 3, 0), At(2014, 11, 1, 1), 0, 0, 0.0},
        {"no corona in another mode", Line(0, 10, 220, 110, 0, 3, 2), At(2014, 11, 1, 1), 0, 0, 0.0},
        {"no operating voltage", Line(0.1, 10, 0, 10), At(2014, 11, 1, 1), 1000, 0, std::nullopt},
        {"no nominal voltage with corona", Line(0, 10, 110, 0, 0, 3, 0), At(2014, 11, 1, 1), 0, 0,
         std::nullopt},
        {"overflow", Line(0.1, 10, 10, 10), At(2014, 11, 1, 1), 1e300, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        ExpectValue(LineLosses(c.params, FactorsOf(8, c.time), c.active, c.reactive), c.expected, c.name);
    }
}

TEST(LossPartsTest, TransformerLossesByTheMembersChannelKind) {
    const TMethod1Obj rated = Transformer(100, 2, 0.5, 1, 2);
    struct Case {
        const char* name;
        TMethod1Obj params;
        SensorKind kind;
        double active;
        double reactive;
        std::optional<double> expected;
    } const cases[] = {
        // S² = 30² + 40² = 50², half the rated power.
        {"half load", rated, SensorKind::kActive, 30, 40, (0.25 * 2 + 0.5) * 0.5},
        {"half load, reactive", rated, SensorKind::kReactive, 30, 40, (1.0 + 2.0 * 0.25) * 0.5},
        {"neither kind", Transformer(0, 2, 0.5, 1, 2), SensorKind::kNeither, 60, 80, 0.0},
        {"no rated power", Transformer(0, 2, 0.5, 1, 2), SensorKind::kActive, 60, 80, std::nullopt},
        {"overflow", rated, SensorKind::kActive, 1e200, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        ExpectValue(TransformerLosses(c.params, c.kind, 0.5, c.active, c.reactive), c.expected, c.name);
    }
}

} // namespace
} // namespace tl
