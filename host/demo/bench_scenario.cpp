#include "tldemo/scenario.hpp"

#include <fmt/format.h>

namespace tl::demo {
namespace {

constexpr int kPairsPerDevice = 4;
constexpr int32_t kFirstDeviceCode = 101;

NetworkElement SyntheticElement(int index, int32_t device, int32_t active_item) {
    NetworkElement e;
    e.device_code = device;
    e.active_item = active_item;
    e.reactive_item = active_item + 1;
    const double spread = 1.0 + 0.05 * (index % 7); // elements differ a little
    const auto seed = static_cast<uint64_t>(index) * 2 + 1;
    switch (index % 4) {
    case 0:
        e.name = fmt::format("ВЛ-110 кВ №{}", index + 1);
        e.coefficients = LineCoefficients{.r0 = 0.16,
                                          .x0 = 0.41,
                                          .length_km = 12 * spread,
                                          .wkor = 0.82,
                                          .wiz = 0.35,
                                          .u_work = 110,
                                          .u_nominal = 110};
        e.load = {9000 * spread, 0.42, LoadProfile::kIndustrial, seed};
        break;
    case 1:
        e.name = fmt::format("Т ТДН-10000/110 №{}", index + 1);
        e.coefficients =
            TransformerCoefficients{.pxx = 14, .pkz = 58, .ixx = 0.9, .ukz = 10.5, .s_nominal = 10000};
        e.load = {5500 * spread, 0.48, LoadProfile::kIndustrial, seed};
        break;
    case 2:
        e.name = fmt::format("ВЛ-10 кВ №{}", index + 1);
        e.coefficients = LineCoefficients{.r0 = 0.43,
                                          .x0 = 0.38,
                                          .length_km = 6 * spread,
                                          .wkor = 0,
                                          .wiz = 0.07,
                                          .u_work = 10,
                                          .u_nominal = 10};
        e.load = {1800 * spread, 0.35, LoadProfile::kResidential, seed};
        break;
    default:
        e.name = fmt::format("Т ТМ-2500/10 №{}", index + 1);
        e.coefficients =
            TransformerCoefficients{.pxx = 3.85, .pkz = 23.5, .ixx = 1.0, .ukz = 5.5, .s_nominal = 2500};
        e.load = {1400 * spread, 0.40, LoadProfile::kResidential, seed};
        break;
    }
    return e;
}

} // namespace

Scenario BenchScenario(int pairs, int days) {
    Scenario s;
    s.task_key = "\\Scripts\\Bench\\";
    for (int i = 0; i < pairs; ++i) {
        const int32_t device = kFirstDeviceCode + i / kPairsPerDevice;
        if (i % kPairsPerDevice == 0) {
            s.network.devices.push_back({device, fmt::format("УСПД №{}", device), ""});
        }
        s.network.elements.push_back(SyntheticElement(i, device, 1 + 2 * (i % kPairsPerDevice)));
    }
    const int64_t first_day = DaysFromCivil(2024, 11, 1);
    s.plan.model_first_day = DaysFromCivil(2024, 10, 1);
    s.plan.model_end_day = first_day + days;
    s.plan.fine_first_day = first_day;
    s.plan.fine_end_day = first_day + days;
    s.period.begin = static_cast<DateTime>(first_day);
    s.period.end = static_cast<DateTime>(first_day + days);
    return s;
}

} // namespace tl::demo
