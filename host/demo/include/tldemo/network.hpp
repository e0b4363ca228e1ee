// A metering network to calculate: devices with pairs of metering channels (active and
// reactive) for each line and transformer, the coefficients of each element, its load, and the
// measurement objects and discrete inputs whose states switch an element's calculation off.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlparams/method1_obj.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tl::demo {

// Channel kinds of the catalogue (Sensors.Typ) and the sensor type codes of the records.
inline constexpr int32_t kActiveDelivered = 1;
inline constexpr int32_t kReactiveDelivered = 3;

struct LineCoefficients {
    double r0 = 0;        // Ohm/km
    double x0 = 0;        // Ohm/km: the reactive channel's record carries it in place of r0
    double length_km = 0; // from the metering point to the balance boundary
    double wkor = 0;      // corona losses, thousand kW*h per km per year (0 below 110 kV)
    double wiz = 0;       // insulator leakage, thousand kW*h per km per year
    int32_t u_work = 0;   // kV
    int32_t u_nominal = 0;
};

struct TransformerCoefficients {
    double pxx = 0;       // no-load losses, kW
    double pkz = 0;       // short-circuit losses, kW
    double ixx = 0;       // no-load current, %
    double ukz = 0;       // short-circuit voltage, %
    double s_nominal = 0; // kV*A
};

enum class LoadProfile { kResidential, kIndustrial };

struct LoadShape {
    double peak_kw = 0;
    double tan_phi = 0; // reactive to active power
    LoadProfile profile = LoadProfile::kResidential;
    uint64_t seed = 0;
};

// "Do not calculate while this element is in this state": a discrete input (97) switched off (0)
// or a measurement object (95) in a given state code.
struct StateCondition {
    int32_t value = 0;
    int32_t object_code = 0;
    int32_t type = 0;
    int32_t item = 0;
    std::string object_text;
    std::string state_text;
};

struct NetworkElement {
    std::string name;
    int32_t device_code = 0;
    int32_t active_item = 0;
    int32_t reactive_item = 0;
    std::variant<LineCoefficients, TransformerCoefficients> coefficients;
    LoadShape load;
    std::optional<StateCondition> not_calc_state;
    // Intervals [from, to) in which the element carries no load (switched off, under repair).
    std::vector<std::pair<DateTime, DateTime>> outages;

    bool IsLine() const { return std::holds_alternative<LineCoefficients>(coefficients); }
};

struct Device {
    int32_t code = 0;
    std::string name;
    std::string address;
};

struct MeasurementObject {
    int32_t code = 0;
    std::string name;
    std::vector<std::pair<int32_t, std::string>> states; // code, name
};

// A row of the event list (evtype 2: stamped by its genesis date, with a season).
struct EventRow {
    int32_t evcode = 0;
    int32_t objcode = 0;
    int32_t objtype = 0;
    int32_t objitem = 0;
    DateTime stamp = 0;
};

struct Network {
    std::vector<Device> devices;
    std::vector<NetworkElement> elements;
    std::vector<MeasurementObject> measurement_objects;
    std::vector<EventRow> events;
};

// The coefficient record of one channel of the element: the active channel's row holds the
// active losses and the reactive channel's row the reactive ones.
TMethod1Obj ChannelRecord(const NetworkElement& element, bool active);

} // namespace tl::demo
