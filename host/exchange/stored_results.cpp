#include "tlexchange/stored_results.hpp"

#include "tlcommon/iso_date_time.hpp"
#include "tldata/item_filter.hpp"
#include "tlexchange/interval_kinds.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <tuple>

namespace tl::exchange {
namespace {

// Without a period every stored date is taken: 30.12.1899 up to the end of 9999.
constexpr DateTime kEarliest = 0;
const DateTime kLatest = EncodeDate(10000, 1, 1);

} // namespace

std::vector<StoredResult> ReadStoredResults(tl::db::Connection& connection, const ResultFilter& filter) {
    std::vector<StoredResult> results;
    if (filter.elements.empty()) {
        return results;
    }
    TSQLItemParamContainer elements;
    for (const ElementAddress& element : filter.elements) {
        elements.Add(element);
    }
    std::vector<int32_t> parameters = filter.result_par_numbers;
    if (parameters.empty()) {
        for (const IntervalKind& kind : IntervalKinds()) {
            parameters.push_back(kind.result_par_number);
        }
    }
    // The request of the driver's own data reads: one parameter over a date range, the element
    // filter as a condition the database runs as a list lookup.
    const std::string sql =
        "select parnumber, object, objtype, item, data_date, season, value0, value1, tvkstatus "
        "from data where parnumber = :parnumber and data_date between :sdt and :edt and " +
        elements.FilterText();
    for (const int32_t parameter : parameters) {
        const TlVariant params[] = {
            {TL_VT_INT32, {.i32 = parameter}},
            {TL_VT_DATETIME, {.date_time = filter.from.value_or(kEarliest)}},
            {TL_VT_DATETIME, {.date_time = filter.to.value_or(kLatest)}},
        };
        auto set = connection.Query(sql, params);
        for (set->First(); !set->Eof(); set->Next()) {
            results.push_back({set->AsInteger(0),
                               {set->AsInteger(1), set->AsInteger(2), set->AsInteger(3)},
                               set->AsDateTime(4),
                               set->AsInteger(5),
                               set->AsDouble(6),
                               set->AsDouble(7),
                               set->StatusWord()});
        }
    }
    std::sort(results.begin(), results.end(), [](const StoredResult& a, const StoredResult& b) {
        return std::tie(a.par_number, a.element, a.date, a.season) <
               std::tie(b.par_number, b.element, b.date, b.season);
    });
    return results;
}

std::string ResultsCsv(const std::vector<StoredResult>& results) {
    std::string text = "parameter,object,type,item,date,season,value0,value1,status\n";
    for (const StoredResult& r : results) {
        fmt::format_to(std::back_inserter(text), "{},{},{},{},{},{},{},{},0x{:x}\n", r.par_number,
                       r.element.object, r.element.type, r.element.item, FormatIsoDateTime(r.date), r.season,
                       r.value0, r.value1, static_cast<uint64_t>(r.status));
    }
    return text;
}

} // namespace tl::exchange
