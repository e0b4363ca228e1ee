// T, MO, DI, CalcDiscret, Parnumber and percent: what a formula asks about its interval.
#include "tldata/discreteness.hpp"
#include "tldata/passes.hpp"
#include "tldata/state_container.hpp"
#include "unit_functions.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <fmt/format.h>

namespace tl {
namespace {

// Discreteness kind of the interval by interval index 0..12; any other index counts as minutes.
constexpr std::array<DiscretKind, kPassCount> kIntervalKinds = {
    DiscretKind::kMinute, DiscretKind::kMinute, DiscretKind::kMinute, DiscretKind::kMinute,
    DiscretKind::kMinute, DiscretKind::kMinute, DiscretKind::kMinute, DiscretKind::kMinute,
    DiscretKind::kHour,   DiscretKind::kDay,    DiscretKind::kMonth,  DiscretKind::kQuarter,
    DiscretKind::kYear};

bool InTable(int interval_index) {
    return interval_index >= 0 && interval_index < kPassCount;
}

void ElementState(script::CallFrame& f, const ElementAddress& address) {
    UnitState& state = StateOf(f);
    if (state.collecting) {
        state.used_states.Add(address);
        return;
    }
    const ScriptContext& c = state.context;
    if (c.states == nullptr) {
        f.ReturnInt(-1);
        return;
    }
    f.ReturnInt(
        c.states->GetState(address.object, address.type, address.item, c.interval_time, c.season_key).value);
}

// A number as a formula sees it after writing it as text and reading it back with the system
// decimal separator: the separator is the same both ways, so what remains is the rounding to 15
// significant digits. No allocation; non-finite values pass unchanged.
double ThroughText(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    std::array<char, 48> text{};
    const auto written = fmt::format_to_n(text.data(), text.size(), "{:.15G}", value);
    double parsed = value;
    std::from_chars(text.data(), written.out, parsed);
    return parsed;
}

} // namespace

void IntervalHoursFunction(script::CallFrame& f) {
    f.ReturnFloat(StateOf(f).interval_hours);
}

void MeasurementObjectState(script::CallFrame& f) {
    ElementState(f, {f.Int(0), kTypeMeasurementObject, 0});
}

void DiscreteInputState(script::CallFrame& f) {
    ElementState(f, {f.Int(0), kTypeDiscreteInput, f.Int(1)});
}

void CalcDiscretFunction(script::CallFrame& f) {
    const int index = StateOf(f).context.interval_index;
    switch (f.Int(0)) {
    case 0:
        f.ReturnInt(static_cast<int32_t>(InTable(index) ? kIntervalKinds[static_cast<size_t>(index)]
                                                        : DiscretKind::kMinute));
        break;
    case 1:
        f.ReturnInt(index >= 0 && index < kHourPass ? kPassMinutes[static_cast<size_t>(index)] : 1);
        break;
    default:
        break;
    }
}

void ParnumberFunction(script::CallFrame& f) {
    const int index = StateOf(f).context.interval_index;
    if (!InTable(index)) {
        return; // the collection pass: nothing to name
    }
    const int32_t par_number = kPassParNumbers[static_cast<size_t>(index)];
    f.ReturnInt(f.Int(0) == 1 ? par_number + kResultParNumberOffset : par_number);
}

void PercentFunction(script::CallFrame& f) {
    const double value = ThroughText(f.Float(0));
    const double percents = ThroughText(f.Float(1));
    if (percents >= 0 && percents <= 100) {
        f.ReturnFloat(percents / 100 * value);
        return;
    }
    f.AddError("Функция percent (проценты вне диапазона 0 - 100)");
}

} // namespace tl
