// Element states from the event list: the on/off states of discrete inputs (type 97) and the
// state codes of measurement objects (type 95) over a run's period, built from one event query
// and asked by stamp while formulas run. Everything the container does goes to the module's
// element-state log.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/element_address.hpp"
#include "tldata/element_state_log.hpp"
#include "tldata/variant.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// Season key of a state: 0 for an event without a season, else this.
inline constexpr int32_t kSeasonKey = 4023;

inline constexpr int32_t kEventSwitchedOn = 3001;
inline constexpr int32_t kEventSwitchedOff = 3002;
inline constexpr int32_t kEventStateChanged = 4002;

struct TEventState {
    int32_t event_code = 0;
    DateTime stamp = 0; // whole seconds
    int32_t season_key = 0;
};

// One tracked element with its states ordered by stamp; two stamps within a millisecond are
// one.
class TEventItem {
public:
    explicit TEventItem(const ElementAddress& address) : address_(address) {}

    const ElementAddress& Address() const { return address_; }
    std::span<const TEventState> States() const { return states_; }

    // False (nothing added) when a state with the same stamp is present.
    bool AddState(const TEventState& state);
    void ClearStates() { states_.clear(); }
    // The last state whose stamp is not later than `stamp`; null when all are later.
    const TEventState* StateAt(DateTime stamp) const;

private:
    ElementAddress address_;
    std::vector<TEventState> states_;
};

struct StateLookup {
    int32_t value = -1;
    DateTime stamp = 0;
    int32_t season_key = 0;
};

class TStateContainer {
public:
    // Creating a container switches the module's element-state log on or off; `log` may be null
    // (nothing is logged).
    explicit TStateContainer(ElementStateLog* log, bool log_enabled = true);

    // Tracks the element; types other than 95 and 97 and elements already tracked are ignored.
    bool AddItem(int32_t object, int32_t type, int32_t item);

    // Whether the event query also asks the events' alternative dates (on at creation).
    void SetUseAltDate(bool on) { use_alt_date_ = on; }
    bool UseAltDate() const { return use_alt_date_; }

    // The event query for the period: per element its last event before `start` and all its
    // events up to `end`. False (and an empty text) when no element is tracked. Keeps both stamps.
    bool GetSQL(std::string& sql, std::vector<Variant>& params, DateTime start, DateTime end);
    // Turns the rows of the event query into states; rows of elements not tracked are passed over.
    // A null set counts as one without rows.
    void SetSQLResults(TlResultSet* set, bool clear_first);
    // Empties every element's states, keeping the elements.
    void ClearStates();

    // The state in force at `stamp` rounded to whole seconds: for a measurement object its state
    // code, for a discrete input 1 (switched on), 0 (off) or -1 (another event); -1 when the
    // element or a state is missing. Both seasons' states form one time line: `season_key` does
    // not choose among them.
    StateLookup GetState(int32_t object, int32_t type, int32_t item, DateTime stamp,
                         int32_t season_key) const;

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    const TEventItem& Item(int32_t index) const;
    const TEventItem* Find(const ElementAddress& address) const;

    DateTime StartStamp() const { return start_; }
    DateTime EndStamp() const { return end_; }

private:
    TEventItem* FindItem(const ElementAddress& address);
    void Log(std::string_view line, bool save = false);
    void LogStates(const ElementAddress& address);

    ElementStateLog* log_;
    std::vector<TEventItem> items_;
    DateTime start_ = 0;
    DateTime end_ = 0;
    bool use_alt_date_ = true;
};

} // namespace tl
