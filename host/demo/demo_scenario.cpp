#include "tlcommon/date_time.hpp"
#include "tldemo/scenario.hpp"

namespace tl::demo {
namespace {

constexpr int32_t kSubstation = 17;
constexpr int32_t kDistribution = 18;
constexpr int32_t kBreakerInput = 9;      // discrete input of the 10 kV line's breaker
constexpr int32_t kTransformerObject = 5; // measurement object of the small transformer
constexpr int32_t kInWork = 1;
constexpr int32_t kUnderRepair = 2;
constexpr int32_t kSwitchedOn = 3001;
constexpr int32_t kSwitchedOff = 3002;
constexpr int32_t kStateChanged = 4002;

DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime({year, month, day, hour, minute, 0, 0});
}

} // namespace

Scenario DemoScenario() {
    Scenario s;
    s.task_key = "\\Scripts\\Demo\\";

    const DateTime breaker_off = At(2024, 12, 27, 9, 30);
    const DateTime breaker_on = At(2024, 12, 27, 14, 0);
    const DateTime repair_begin = At(2025, 1, 3, 8, 0);
    const DateTime repair_end = At(2025, 1, 3, 17, 0);

    Network& n = s.network;
    n.devices = {
        {kSubstation, "ПС 110/10 кВ Заречная", "г. Заречный, ул. Энергетиков, 1"},
        {kDistribution, "РП-10 кВ Заречный", "г. Заречный, ул. Лесная, 12"},
    };
    n.elements = {
        {"ВЛ-110 кВ Заречная – Северная",
         kSubstation,
         1,
         2,
         LineCoefficients{.r0 = 0.16,
                          .x0 = 0.41,
                          .length_km = 24.5,
                          .wkor = 0.82,
                          .wiz = 0.35,
                          .u_work = 110,
                          .u_nominal = 110},
         LoadShape{16000, 0.42, LoadProfile::kIndustrial, 1101},
         std::nullopt,
         {}},
        {"Т-1 ТДН-10000/110",
         kSubstation,
         3,
         4,
         TransformerCoefficients{.pxx = 14, .pkz = 58, .ixx = 0.9, .ukz = 10.5, .s_nominal = 10000},
         LoadShape{6200, 0.48, LoadProfile::kIndustrial, 1103},
         std::nullopt,
         {}},
        {"ВЛ-10 кВ ф.7 Лесная",
         kDistribution,
         1,
         2,
         LineCoefficients{
             .r0 = 0.43, .x0 = 0.38, .length_km = 8.6, .wkor = 0, .wiz = 0.07, .u_work = 10, .u_nominal = 10},
         LoadShape{2100, 0.35, LoadProfile::kResidential, 1801},
         StateCondition{0, kDistribution, 97, kBreakerInput, "ДВ: ($0012.9) Выключатель ф.7", "Выключен"},
         {{breaker_off, breaker_on}}},
        {"Т-2 ТМ-2500/10 ТП-12",
         kDistribution,
         3,
         4,
         TransformerCoefficients{.pxx = 3.85, .pkz = 23.5, .ixx = 1.0, .ukz = 5.5, .s_nominal = 2500},
         LoadShape{1500, 0.40, LoadProfile::kResidential, 1803},
         StateCondition{kUnderRepair, kTransformerObject, 95, 0, "ОИ: (5) Трансформатор Т-2 ТП-12",
                        "В ремонте"},
         {{repair_begin, repair_end}}},
    };
    n.measurement_objects = {
        {kTransformerObject,
         "Трансформатор Т-2 ТП-12",
         {{kInWork, "В работе"}, {kUnderRepair, "В ремонте"}, {3, "В резерве"}}},
    };
    n.events = {
        {kSwitchedOn, kDistribution, 97, kBreakerInput, At(2024, 12, 20, 8, 0)},
        {kSwitchedOff, kDistribution, 97, kBreakerInput, breaker_off},
        {kSwitchedOn, kDistribution, 97, kBreakerInput, breaker_on},
        {kStateChanged, kTransformerObject, 96, kInWork, At(2024, 12, 1, 0, 0)},
        {kStateChanged, kTransformerObject, 96, kUnderRepair, repair_begin},
        {kStateChanged, kTransformerObject, 96, kInWork, repair_end},
    };

    // The model runs from the start of 2024 so that December, the fourth quarter and the year are
    // complete; the task's two weeks cross the new year.
    s.plan.model_first_day = DaysFromCivil(2024, 1, 1);
    s.plan.model_end_day = DaysFromCivil(2025, 1, 8);
    s.plan.fine_first_day = DaysFromCivil(2024, 12, 25);
    s.plan.fine_end_day = s.plan.model_end_day;
    s.plan.five_minute_day = DaysFromCivil(2025, 1, 7);

    s.period.begin = At(2024, 12, 25);
    s.period.end = At(2025, 1, 8);
    s.period.five_minute_begin = At(2025, 1, 7);
    return s;
}

} // namespace tl::demo
