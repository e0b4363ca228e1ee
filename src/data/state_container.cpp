#include "tldata/state_container.hpp"

#include "event_query.hpp"
#include "tldata/result_reader.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <stdexcept>
#include <unordered_set>

namespace tl {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Events are compared to the second: a stamp is rounded to the nearest whole second.
int64_t SecondsMs(DateTime stamp) {
    return FloorDiv(ToMillis(stamp) + 500, 1000) * 1000;
}

// Distinct numbers in order of first appearance, joined by ", ".
class CodeList {
public:
    void Add(int32_t code) {
        if (seen_.insert(code).second) {
            if (!text_.empty()) {
                text_ += ", ";
            }
            fmt::format_to(std::back_inserter(text_), "{}", code);
        }
    }
    const std::string& Text() const { return text_; }

private:
    std::unordered_set<int32_t> seen_;
    std::string text_;
};

std::string StateLine(std::string_view code, std::string_view stamp, std::string_view season) {
    return fmt::format("\t{:<6}\t{:<25}\t{:<6}", code, stamp, season);
}

} // namespace

bool TEventItem::AddState(const TEventState& state) {
    const int64_t ms = ToMillis(state.stamp);
    const auto at = std::lower_bound(states_.begin(), states_.end(), ms - 1,
                                     [](const TEventState& s, int64_t v) { return ToMillis(s.stamp) < v; });
    if (at != states_.end() && ToMillis(at->stamp) <= ms + 1) {
        return false;
    }
    states_.insert(at, state);
    return true;
}

const TEventState* TEventItem::StateAt(DateTime stamp) const {
    const int64_t ms = ToMillis(stamp);
    const auto after =
        std::upper_bound(states_.begin(), states_.end(), ms + 1,
                         [](int64_t v, const TEventState& s) { return v < ToMillis(s.stamp); });
    return after == states_.begin() ? nullptr : &*(after - 1);
}

TStateContainer::TStateContainer(ElementStateLog* log, bool log_enabled) : log_(log) {
    if (log_ != nullptr) {
        log_->SetEnabled(log_enabled);
    }
}

bool TStateContainer::AddItem(int32_t object, int32_t type, int32_t item) {
    if (type != kTypeMeasurementObject && type != kTypeDiscreteInput) {
        return false;
    }
    const ElementAddress address{object, type, item};
    const auto at =
        std::lower_bound(items_.begin(), items_.end(), address,
                         [](const TEventItem& i, const ElementAddress& a) { return i.Address() < a; });
    if (at != items_.end() && at->Address() == address) {
        return false;
    }
    items_.insert(at, TEventItem(address));
    return true;
}

const TEventItem& TStateContainer::Item(int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("state element index out of range");
    }
    return items_[static_cast<size_t>(index)];
}

const TEventItem* TStateContainer::Find(const ElementAddress& address) const {
    const auto at =
        std::lower_bound(items_.begin(), items_.end(), address,
                         [](const TEventItem& i, const ElementAddress& a) { return i.Address() < a; });
    return at != items_.end() && at->Address() == address ? &*at : nullptr;
}

TEventItem* TStateContainer::FindItem(const ElementAddress& address) {
    return const_cast<TEventItem*>(std::as_const(*this).Find(address));
}

void TStateContainer::Log(std::string_view line, bool save) {
    if (log_ != nullptr) {
        log_->ModiLog(line, save);
    }
}

bool TStateContainer::GetSQL(std::string& sql, std::vector<Variant>& params, DateTime start, DateTime end) {
    Log("");
    Log("--- GetSQL ---");
    start_ = start;
    end_ = end;
    Log(fmt::format("StartStamp: {}", FormatStamp(start)));
    Log(fmt::format("EndStamp: {}", FormatStamp(end)));
    Log("Список элементов:");

    CodeList devices;
    CodeList inputs;
    CodeList objects;
    for (const TEventItem& item : items_) {
        const ElementAddress& a = item.Address();
        Log(fmt::format("\t{}", FormatAddress(a)));
        if (a.type == kTypeMeasurementObject) {
            objects.Add(a.object);
        } else if (a.type == kTypeDiscreteInput) {
            devices.Add(a.object);
            inputs.Add(a.item);
        }
    }

    sql.clear();
    params.clear();
    const auto add_window = [&] {
        params.push_back(Variant::DateTime(start));
        params.push_back(Variant::DateTime(start));
        params.push_back(Variant::DateTime(end));
    };
    const int parts = use_alt_date_ ? 2 : 1;
    if (!devices.Text().empty() && !inputs.Text().empty()) {
        sql = DiscreteInputEventSql(devices.Text(), inputs.Text(), use_alt_date_);
        for (int i = 0; i < parts; ++i) {
            add_window();
        }
    }
    if (!objects.Text().empty()) {
        if (!sql.empty()) {
            sql += kEventUnion;
        }
        sql += MeasurementObjectEventSql(objects.Text(), use_alt_date_);
        for (int i = 0; i < parts; ++i) {
            add_window();
        }
    }
    if (!sql.empty()) {
        sql += kEventOrder;
        Log("");
        Log("SQL:");
        Log(sql);
        Log("");
        Log("Параметры:");
        for (const Variant& param : params) {
            Log(fmt::format("\t{}", FormatStamp(param.AsDouble())));
        }
    }
    Log("", true);
    return !sql.empty();
}

void TStateContainer::ClearStates() {
    for (TEventItem& item : items_) {
        item.ClearStates();
    }
}

void TStateContainer::LogStates(const ElementAddress& address) {
    Log("---");
    Log(fmt::format("Состояния элемента: {}", FormatAddress(address)));
    Log(StateLine("evcode", "stamp", "season"));
    if (const TEventItem* item = Find(address)) {
        for (const TEventState& state : item->States()) {
            Log(StateLine(fmt::format("{}", state.event_code), FormatStamp(state.stamp),
                          fmt::format("{}", state.season_key)));
        }
    }
}

void TStateContainer::SetSQLResults(TlResultSet* set, bool clear_first) {
    Log("");
    Log("---- SetSQLResults ----");
    if (clear_first) {
        ClearStates();
    }
    bool any_row = false;
    ElementAddress previous;
    if (set != nullptr) {
        ResultReader reader(set);
        const auto objcode = reader.Require("objcode");
        const auto objtype = reader.Require("objtype");
        const auto objitem = reader.Require("objitem");
        const auto evtype = reader.Require("evtype");
        const auto evcode = reader.Require("evcode");
        const auto season = reader.Require("season");
        const auto idprotect = reader.Require("evidprotect");
        const auto genesis = reader.Require("evgenesisdt");
        const int64_t start_ms = ToMillis(start_);
        for (reader.First(); !reader.Eof(); reader.Next()) {
            const ElementAddress address{reader.AsInteger(objcode), reader.AsInteger(objtype),
                                         reader.AsInteger(objitem)};
            if (!any_row || address != previous) {
                if (any_row) {
                    LogStates(previous);
                    Log("", true);
                }
                Log(fmt::format("[БД] Элемент: {}", FormatAddress(address)));
                Log(fmt::format("\t{:<6}\t{:<6}\t{:<25}\t{:<6}\t{:<20}", "evtype", "evcode", "stamp",
                                "season", "idprotect"));
                previous = address;
                any_row = true;
            }
            TEventItem* item = FindItem(address);
            if (item == nullptr) {
                continue;
            }
            const int64_t stamp_ms = SecondsMs(reader.AsDateTime(genesis));
            const bool no_season = reader.IsNull(season);
            const TEventState state{reader.AsInteger(evcode), FromMillis(stamp_ms),
                                    no_season ? 0 : kSeasonKey};
            std::string_view mark;
            if (item->AddState(state)) {
                mark = stamp_ms < start_ms ? "+!" : "+";
            }
            Log(fmt::format("{:<2}\t{:<6}\t{:<6}\t{:<25}\t{:<6}\t{:<20} ({})", mark, reader.AsInteger(evtype),
                            state.event_code, FormatStamp(state.stamp),
                            no_season ? 0 : reader.AsInteger(season), reader.AsInteger(idprotect),
                            state.season_key));
        }
    }
    if (any_row) {
        LogStates(previous);
    }
    Log("");
    Log(std::string(68, '-'));
    Log("Сформированные состояния элементов:");
    for (const TEventItem& item : items_) {
        LogStates(item.Address());
    }
    Log("", true);
}

StateLookup TStateContainer::GetState(int32_t object, int32_t type, int32_t item, DateTime stamp,
                                      int32_t /*season_key*/) const {
    const TEventItem* element = Find(ElementAddress{object, type, item});
    if (element == nullptr) {
        return {};
    }
    const TEventState* state = element->StateAt(FromMillis(SecondsMs(stamp)));
    if (state == nullptr) {
        return {};
    }
    StateLookup found{-1, state->stamp, state->season_key};
    if (type == kTypeMeasurementObject) {
        found.value = state->event_code;
    } else if (state->event_code == kEventSwitchedOn) {
        found.value = 1;
    } else if (state->event_code == kEventSwitchedOff) {
        found.value = 0;
    }
    return found;
}

} // namespace tl
