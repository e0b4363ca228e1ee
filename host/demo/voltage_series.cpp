#include "tldemo/voltage_series.hpp"

#include "tldemo/load_model.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string_view>

namespace tl::demo {
namespace {

constexpr int32_t kDeviceType = 99;
constexpr int32_t kMinuteDiscreteness = 5;
constexpr double kDefaultNominalKv = 10;
// Busbars are kept a little above nominal and wander around that by up to 1.5 %.
constexpr double kOperatingLevel = 1.04;
constexpr double kWander = 0.015;

TlVariant Int(int32_t value) {
    return {TL_VT_INT32, {.i32 = value}};
}
TlVariant Real(double value) {
    return {TL_VT_DOUBLE, {.f64 = value}};
}

// The highest voltage of the lines on each device; devices without lines run at 10 kV.
std::map<int32_t, double> DeviceVoltages(const Network& network) {
    std::map<int32_t, double> voltages;
    for (const Device& device : network.devices) {
        voltages[device.code] = 0;
    }
    for (const NetworkElement& element : network.elements) {
        if (const auto* line = std::get_if<LineCoefficients>(&element.coefficients)) {
            double& kv = voltages[element.device_code];
            kv = std::max(kv, static_cast<double>(line->u_work));
        }
    }
    for (auto& [code, kv] : voltages) {
        if (kv <= 0) {
            kv = kDefaultNominalKv;
        }
    }
    return voltages;
}

} // namespace

double PhaseVoltage(int32_t device_code, double nominal_kv, int64_t day, int minute) {
    const double base = nominal_kv * kOperatingLevel / std::sqrt(3.0);
    return base * (1.0 + kWander * HashedNoise(static_cast<uint64_t>(device_code) + 7919, day, minute));
}

int64_t WriteVoltages(tl::db::Connection& connection, const Scenario& scenario, int step_minutes) {
    const std::map<int32_t, double> voltages = DeviceVoltages(scenario.network);
    int64_t rows = 0;
    connection.Begin();
    try {
        const std::string_view parameter_names[] = {"parnumber", "name", "discrettype", "discretvalue"};
        const std::string name = "Мгновенные величины";
        const TlVariant parameter_values[] = {Int(kMomentaryParNumber),
                                              {TL_VT_STRING, {.str = name.c_str()}},
                                              Int(kMinuteDiscreteness),
                                              Int(step_minutes)};
        connection.InsertOrReplace("parameters", parameter_names, parameter_values);

        const std::string_view names[] = {"parnumber", "object", "objtype", "item",
                                          "data_date", "season", "value0",  "tvkstatus"};
        std::array<TlVariant, 8> values = {Int(kMomentaryParNumber),
                                           Int(0),
                                           Int(kDeviceType),
                                           Int(kPhaseVoltageA),
                                           Real(0),
                                           Int(0),
                                           Real(0),
                                           Int(0)};
        for (const auto& [code, kv] : voltages) {
            values[1] = Int(code);
            for (int64_t day = scenario.plan.fine_first_day; day < scenario.plan.fine_end_day; ++day) {
                for (int minute = 0; minute < 24 * 60; minute += step_minutes) {
                    values[4] = {TL_VT_DATETIME, {.date_time = static_cast<double>(day) + minute / 1440.0}};
                    values[6] = Real(PhaseVoltage(code, kv, day, minute));
                    connection.InsertOrReplace("data", names, values);
                    ++rows;
                }
            }
        }
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return rows;
}

} // namespace tl::demo
