#include "tldemo/metering_writer.hpp"

#include "tldemo/load_model.hpp"
#include "tldemo/metering_series.hpp"

#include <array>
#include <fmt/format.h>
#include <map>
#include <string_view>

namespace tl::demo {
namespace {

constexpr int32_t kEventByGenesisDate = 2;

TlVariant Int(int32_t value) {
    return {TL_VT_INT32, {.i32 = value}};
}
TlVariant Real(double value) {
    return {TL_VT_DOUBLE, {.f64 = value}};
}
TlVariant Stamp(DateTime value) {
    return {TL_VT_DATETIME, {.date_time = value}};
}
TlVariant Text(const std::string& value) {
    return {TL_VT_STRING, {.str = value.c_str()}};
}

void WriteCatalogue(tl::db::Connection& db, const Network& network) {
    std::map<int32_t, int32_t> device_ids;
    int32_t id = 0;
    for (const Device& device : network.devices) {
        device_ids[device.code] = ++id;
        const std::string_view names[] = {"id", "Code", "Name", "Address"};
        const TlVariant values[] = {Int(id), Int(device.code), Text(device.name), Text(device.address)};
        db.InsertOrReplace("Devices", names, values);
    }
    int32_t sensor_id = 0;
    for (const NetworkElement& element : network.elements) {
        for (const bool active : {true, false}) {
            const std::string name = ChannelName(element, active);
            const std::string_view names[] = {"Id", "StationId", "Code", "Typ", "Name"};
            const TlVariant values[] = {Int(++sensor_id), Int(device_ids.at(element.device_code)),
                                        Int(active ? element.active_item : element.reactive_item),
                                        Int(active ? kActiveDelivered : kReactiveDelivered), Text(name)};
            db.InsertOrReplace("Sensors", names, values);
        }
    }
    int32_t object_id = 0;
    int32_t state_id = 0;
    for (const MeasurementObject& object : network.measurement_objects) {
        const std::string_view names[] = {"Id", "Code", "Name"};
        const TlVariant values[] = {Int(++object_id), Int(object.code), Text(object.name)};
        db.InsertOrReplace("MObjects", names, values);
        for (const auto& [code, state_name] : object.states) {
            const std::string_view state_names[] = {"Id", "ObjectID", "Code", "Name"};
            const TlVariant state_values[] = {Int(++state_id), Int(object_id), Int(code), Text(state_name)};
            db.InsertOrReplace("MObjStates", state_names, state_values);
        }
    }
}

int64_t WriteEvents(tl::db::Connection& db, const Network& network) {
    for (const EventRow& e : network.events) {
        // A season is given: the state query matches an element's last earlier event by season.
        const std::string_view names[] = {"evtype",  "evcode",      "objcode", "objtype",
                                          "objitem", "evgenesisdt", "season",  "evidprotect"};
        const TlVariant values[] = {Int(kEventByGenesisDate), Int(e.evcode),  Int(e.objcode), Int(e.objtype),
                                    Int(e.objitem),           Stamp(e.stamp), Int(0),         Int(0)};
        db.InsertOrReplace("eventlist", names, values);
    }
    return static_cast<int64_t>(network.events.size());
}

int64_t WriteChannels(tl::db::Connection& db, const Scenario& scenario) {
    const std::string_view names[] = {"parnumber", "object", "objtype", "item",
                                      "data_date", "season", "value0",  "tvkstatus"};
    std::array<TlVariant, 8> values = {Int(0), Int(0), Int(0), Int(0), Stamp(0), Int(0), Real(0), Int(0)};
    int64_t rows = 0;
    for (const NetworkElement& element : scenario.network.elements) {
        const PairPowers powers =
            HalfHourPowers(element, scenario.plan.model_first_day, scenario.plan.model_end_day);
        for (const bool active : {true, false}) {
            values[1] = Int(element.device_code);
            values[3] = Int(active ? element.active_item : element.reactive_item);
            EmitChannelSeries(active ? powers.active : powers.reactive, scenario.plan,
                              element.load.seed * 2 + (active ? 0 : 1), [&](const MeteringValue& row) {
                                  values[0] = Int(row.par_number);
                                  values[4] = Stamp(row.stamp);
                                  values[6] = Real(row.value);
                                  db.InsertOrReplace("data", names, values);
                                  ++rows;
                              });
        }
    }
    return rows;
}

} // namespace

std::string ChannelName(const NetworkElement& element, bool active) {
    return fmt::format("{} ({})", element.name, active ? "акт." : "реакт.");
}

WriteStats WriteMeteringData(tl::db::Connection& connection, const Scenario& scenario) {
    WriteStats stats;
    connection.Begin();
    try {
        WriteCatalogue(connection, scenario.network);
        stats.event_rows = WriteEvents(connection, scenario.network);
        stats.data_rows = WriteChannels(connection, scenario);
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return stats;
}

} // namespace tl::demo
