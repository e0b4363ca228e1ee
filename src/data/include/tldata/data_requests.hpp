// The metering data requests of a calculation run: the discreteness of momentary values
// (parameter 1100), the momentary values and the interval values of a pass. Each request logs
// what it asks and sends one query through the task; the run sets its step before calling and
// gets the answer in HandleData.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/discreteness.hpp"
#include "tldata/item_filter.hpp"
#include "tldata/variant.hpp"
#include "tlosses/abi.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tl {

// What a request needs of its task.
class RequestTask {
public:
    virtual ~RequestTask() = default;
    // Issues the step's one query.
    virtual void RunQuery(std::string_view sql, std::span<const Variant> params) = 0;
    // Appends a line to the run log.
    virtual void LogLine(std::string_view line) = 0;
    // Sends a status line to the host.
    virtual void SendStatus(std::string_view line) = 0;
};

inline constexpr std::string_view kDiscretenessSql = "select * from parameters where parnumber = 1100";

// The texts with the filter in place of %s.
std::string DataSql(std::string_view filter_text);
std::string MomentarySql(std::string_view filter_text);

// Asks for the description of parameter 1100.
void RequestDiscreteness(RequestTask& task);

// Reads `discrettype` and `discretvalue` of the first row of the answer and logs them. Returns
// the discreteness when momentary values can be calculated with it, for the script functions.
// Otherwise reports it to the host and the run log and empties the momentary filter, so that the
// run goes on without momentary values. An answer without a row reads as kind 0, value 0.
std::optional<Discreteness> CheckMomentaryDiscreteness(RequestTask& task, TlResultSet* set,
                                                       TSQLItemParamContainer& momentary_filter);

// Asks for the momentary values of the filter's elements from `window_begin` - 10 s to
// `window_end`; with an empty filter an empty query.
void RequestMomentary(RequestTask& task, const TSQLItemParamContainer& filter, DateTime window_begin,
                      DateTime window_end);

// Asks for the interval values of the pass likewise.
void RequestData(RequestTask& task, const TSQLItemParamContainer& filter, int pass, DateTime window_begin,
                 DateTime window_end);

} // namespace tl
