#include "unit_world.hpp"

#include "tldata/passes.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlscript/engine.hpp"
#include "tlscript/program.hpp"

#include <cctype>
#include <fmt/format.h>

namespace tl::tool {
namespace {

constexpr int32_t kEventByGenesisDate = 2;
constexpr int kHourPass = 8;
constexpr int kDayPass = 9;

std::string UpperName(const std::string& call) {
    std::string name = call.substr(0, call.find('('));
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string Address(const ElementAddress& a) {
    return fmt::format("{}.{}.{}", a.object, a.type, a.item);
}

TlVariant Int(int32_t value) {
    return {TL_VT_INT32, {.i32 = value}};
}

} // namespace

UnitWorld::UnitWorld(ScriptDataModule& module, const UnitInputs& inputs)
    : pass_(inputs.pass), time_(inputs.time != 0 ? inputs.time : Today()) {
    struct Event {
        ElementAddress element;
        double value;
        std::string place;
    };
    std::vector<Event> events;
    for (const UnitCall& given : inputs.calls) {
        auto program = module.Engine().Compile("PrintLn(" + given.call + ");");
        if (program->HasCompileErrors()) {
            throw UnitValueError(
                fmt::format("{}: {}: {}", given.place, given.call, program->Messages()[0].OneLine()));
        }
        module.EnterCollectionMode();
        program->Execute();
        const auto power = module.UsedPowerElements();
        const auto momentary = module.UsedMomentaryElements();
        const auto states = module.UsedStateElements();
        const std::string name = UpperName(given.call);
        TDataRow row;
        row.stamp = time_;
        row.value = given.value;
        if (power.size() == 1) {
            // The stored value of the interval's parameter from which the function gives this value.
            // W of a power shorter than an hour is the power times the interval; P of an energy of a
            // day or longer is twice the stored value.
            const bool energy = name.starts_with('W');
            if (energy && pass_ < kHourPass) {
                row.value = given.value * 60.0 / PassMinutes(pass_);
            } else if (!energy && pass_ >= kDayPass) {
                row.value = given.value / 2.0;
            }
            row.par_number = PassParNumber(pass_);
            row.object = power[0].object;
            row.type = power[0].type;
            row.item = power[0].item;
            data_.Add(row);
        } else if (momentary.size() == 1) {
            row.par_number = kMomentaryParNumber;
            row.object = momentary[0].object;
            row.type = momentary[0].type;
            row.item = momentary[0].item;
            momentary_.Add(row);
        } else if (states.size() == 1) {
            events.push_back({states[0], given.value, given.place});
        } else {
            module.LeaveCollectionMode();
            throw UnitValueError(fmt::format("{}: {} reads no element value", given.place, given.call));
        }
        module.LeaveCollectionMode();
    }
    if (events.empty()) {
        return;
    }
    // States come from the event list as in a run: each given state starts two days before the
    // interval, and the container's own query finds it.
    auto db = tl::db::Connection::Open(":memory:");
    tl::db::InitSchema(*db);
    for (const Event& e : events) {
        const bool input = e.element.type == kTypeDiscreteInput;
        if (input && e.value != 0 && e.value != 1) {
            throw UnitValueError(fmt::format("{}: a discrete input is 1 (on) or 0 (off)", e.place));
        }
        states_.AddItem(e.element.object, e.element.type, e.element.item);
        // The event query matches an element's last earlier event by season: one is given.
        const std::string_view names[] = {"evtype",  "evcode",      "objcode", "objtype",
                                          "objitem", "evgenesisdt", "season"};
        const TlVariant values[] = {
            Int(kEventByGenesisDate),
            Int(input ? (e.value == 1 ? kEventSwitchedOn : kEventSwitchedOff) : kEventStateChanged),
            Int(e.element.object),
            Int(input ? kTypeDiscreteInput : kTypeStateSource),
            Int(input ? e.element.item : static_cast<int32_t>(e.value)),
            {TL_VT_DATETIME, {.date_time = time_ - 2}},
            Int(0)};
        db->InsertOrReplace("eventlist", names, values);
    }
    states_.SetUseAltDate(false);
    std::string sql;
    std::vector<Variant> params;
    states_.GetSQL(sql, params, time_ - 1, time_ + 1);
    std::vector<TlVariant> bound;
    for (const Variant& p : params) {
        bound.push_back({TL_VT_DATETIME, {.date_time = p.AsDouble()}});
    }
    auto answer = db->Query(sql, bound);
    states_.SetSQLResults(answer.get(), true);
}

ScriptContext UnitWorld::Context() const {
    return ScriptContext{&data_, &momentary_, true, pass_, time_, 0, &states_, &objects_};
}

std::vector<std::string> UnitWorld::Unset(std::span<const ElementAddress> power,
                                          std::span<const ElementAddress> momentary,
                                          std::span<const ElementAddress> states) const {
    std::vector<std::string> notes;
    for (const ElementAddress& a : power) {
        if (data_.Find(a) == TDataList::kNone) {
            notes.push_back(fmt::format(
                "the formula reads the energy or power of {}, which was given no value: 0", Address(a)));
        }
    }
    for (const ElementAddress& a : momentary) {
        if (momentary_.Find(a) == TDataList::kNone) {
            notes.push_back(
                fmt::format("the formula reads momentary value {}, which was given no value: 0", Address(a)));
        }
    }
    for (const ElementAddress& a : states) {
        if (states_.Find(a) == nullptr) {
            notes.push_back(
                fmt::format("the formula reads the state of {}, which was given none: -1", Address(a)));
        }
    }
    return notes;
}

} // namespace tl::tool
