// Each part returns, per element, its last event before the period start and all its events
// within the period; the alternative-date parts give `evaltdt` as the stamp and a null season.
// State changes of a measurement object are events of its state source (type 96) whose item is
// the new state code: they come out as element type 95, item 0, with that code as the event code.
#include "event_query.hpp"

#include "tldata/element_address.hpp"
#include "tldata/state_container.hpp"

#include <fmt/format.h>

namespace tl {
namespace {

constexpr int32_t kOwnDate = 2;
constexpr int32_t kAltDate = 3;

constexpr char kDiscreteInputText[] =
    "select el.evtype as evtype, el.evcode as evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({0}, {1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and objitem in ({4}) and evtype in ({5}) and \r\n"
    "evgenesisdt =\r\n"
    "(\r\n"
    "select max(evgenesisdt) from eventlist\r\n"
    "where evcode in ({0}, {1}) and objtype = el.objtype and\r\n"
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and\r\n"
    "season = el.season and evgenesisdt < :edt11\r\n"
    ")\r\n"
    "union\r\n"
    "select el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({0}, {1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and objitem in ({4}) and evtype in ({5}) and\r\n"
    "evgenesisdt between :edt12 and :edt13";

constexpr char kDiscreteInputAltText[] =
    "select distinct el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,\r\n"
    "el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({0}, {1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and objitem in ({4}) and evtype in ({5}) and\r\n"
    "evaltdt =\r\n"
    "(\r\n"
    "select max(evaltdt) from eventlist\r\n"
    "where evcode in ({0}, {1}) and objtype = el.objtype and\r\n"
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and\r\n"
    "evgenesisdt < :edt14\r\n"
    ")\r\n"
    "union\r\n"
    "select distinct el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,\r\n"
    "el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({0}, {1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and objitem in ({4}) and evtype in ({5}) and\r\n"
    "evgenesisdt between :edt5 and :edt6";

constexpr char kMeasurementObjectText[] =
    "select el.evtype evtype, el.objitem evcode, el.objcode, {0} objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and evtype in ({4}) and\r\n"
    "evgenesisdt =\r\n"
    "(\r\n"
    "select max(evgenesisdt) from eventlist\r\n"
    "where evcode = el.evcode and objtype = el.objtype and\r\n"
    "objcode = el.objcode and evtype = el.evtype and\r\n"
    "season = el.season and evgenesisdt < :edt21\r\n"
    ")\r\n"
    "union\r\n"
    "select el.evtype evtype, el.objitem evcode, el.objcode, {0} objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and evtype in ({4}) and\r\n"
    "evgenesisdt between :edt22 and :edt23";

constexpr char kMeasurementObjectAltText[] =
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, {0} objtype,\r\n"
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and evtype in ({4}) and\r\n"
    "evaltdt =\r\n"
    "(\r\n"
    "select max(evaltdt) from eventlist\r\n"
    "where evcode = el.evcode and objtype = el.objtype and\r\n"
    "objcode = el.objcode and evtype = el.evtype and\r\n"
    "evgenesisdt < :edt24\r\n"
    ")\r\n"
    "union\r\n"
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, {0} objtype,\r\n"
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in ({1}) and objtype in ({2}) and\r\n"
    "objcode in ({3}) and evtype in ({4}) and\r\n"
    "evgenesisdt between :edt25 and :edt26";

} // namespace

std::string DiscreteInputEventSql(std::string_view devices, std::string_view inputs, bool alt_date) {
    std::string sql = fmt::format(kDiscreteInputText, kEventSwitchedOn, kEventSwitchedOff, kTypeDiscreteInput,
                                  devices, inputs, kOwnDate);
    if (alt_date) {
        sql += kEventUnion;
        sql += fmt::format(kDiscreteInputAltText, kEventSwitchedOn, kEventSwitchedOff, kTypeDiscreteInput,
                           devices, inputs, kAltDate);
    }
    return sql;
}

std::string MeasurementObjectEventSql(std::string_view objects, bool alt_date) {
    std::string sql = fmt::format(kMeasurementObjectText, kTypeMeasurementObject, kEventStateChanged,
                                  kTypeStateSource, objects, kOwnDate);
    if (alt_date) {
        sql += kEventUnion;
        sql += fmt::format(kMeasurementObjectAltText, kTypeMeasurementObject, kEventStateChanged,
                           kTypeStateSource, objects, kAltDate);
    }
    return sql;
}

} // namespace tl
