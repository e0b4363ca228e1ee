// W, P, W2, P2 and the momentary functions: values of the stamp's rows, or, in the collection
// pass, the record of which elements the formulas read.
#include "tldata/data_list.hpp"
#include "tldata/passes.hpp"
#include "tlunit/momentary_names.hpp"
#include "tlunit/script_data_module.hpp"
#include "unit_functions.hpp"

namespace tl {
namespace {

// Rows stored at short intervals are average powers; energy over the interval is power times
// its share of an hour. Daily and longer rows are energies; their power doubles them.
double EnergyOrPower(double stored, bool power, int interval_index) {
    if (!power && interval_index < kHourPass) {
        return stored / (60.0 / kPassMinutes[static_cast<size_t>(interval_index)]);
    }
    if (power && interval_index >= kDayPass) {
        return stored * 2.0;
    }
    return stored;
}

// The element momentary code `code` of (object, type, item) is stored under: a sub-device's
// values live on its device, the sub-device number in the item's second byte.
ElementAddress MomentaryKey(int32_t object, int32_t type, int32_t item, int32_t code) {
    uint32_t item_part = static_cast<uint32_t>(item);
    if (type == kOtSubDevice) {
        type = kOtDevice;
        item_part <<= 8;
    }
    const auto key_item = static_cast<uint32_t>(code) | (item_part & 0xFF00u);
    return {object, type, static_cast<int32_t>(key_item)};
}

// The value of the latest row of the key; a row replaces the one chosen only when it is more
// than a millisecond later.
bool LatestValue(const TDataList& rows, const ElementAddress& key, double& value) {
    const auto found = rows.RowsOf(key);
    if (found.empty()) {
        return false;
    }
    const TDataRow* latest = &found.front();
    int64_t latest_ms = ToMillis(latest->stamp);
    for (const TDataRow& row : found.subspan(1)) {
        const int64_t row_ms = ToMillis(row.stamp);
        if (row_ms - latest_ms > 1) {
            latest = &row;
            latest_ms = row_ms;
        }
    }
    value = latest->value;
    return true;
}

} // namespace

void EnergyFunction(script::CallFrame& f) {
    UnitState& state = StateOf(f);
    f.ReturnFloat(0);
    const bool with_type = (f.Tag() & kTagWithType) != 0;
    const ElementAddress address{f.Int(0), with_type ? f.Int(1) : kTypeChannel, f.Int(with_type ? 2 : 1)};
    if (state.collecting) {
        state.used_power.Add(address);
        return;
    }
    const TDataList* rows = state.context.data;
    if (rows == nullptr) {
        return;
    }
    const auto found = rows->RowsOf(address);
    if (!found.empty()) {
        f.ReturnFloat(
            EnergyOrPower(found.front().value, (f.Tag() & kTagPower) != 0, state.context.interval_index));
    }
}

void MomentaryFunction(script::CallFrame& f) {
    UnitState& state = StateOf(f);
    f.ReturnFloat(0);
    const int32_t code = f.Tag() == kTagCodeArgument ? f.Int(3) : static_cast<int32_t>(f.Tag());
    if (code < 1 || code > kMomentaryCodeCount) {
        return;
    }
    const ElementAddress key = MomentaryKey(f.Int(0), f.Int(1), f.Int(2), code);
    if (state.collecting) {
        state.used_momentary.Add(key);
        return;
    }
    if (!state.context.momentary_accepted || state.context.momentary == nullptr) {
        return;
    }
    if (const auto cached = state.momentary_cache.Find(key)) {
        f.ReturnFloat(*cached);
        return;
    }
    double value = 0;
    if (LatestValue(*state.context.momentary, key, value)) {
        state.momentary_cache.Store(key, value);
        f.ReturnFloat(value);
    }
}

} // namespace tl
