// Data requests that a reader can read in two halves at once, one per connection.
//
// The driver reads interval data with
//   select * from data where parnumber = <number or :name> and data_date between :a and :b
//     [and <element filter>] [order by data_date[, <column>...]]
// With the metering table clustered by (parnumber, data_date, ...) and no other index on it, every
// plan of such a request walks the rows of the parameter in date order, and without ORDER BY that
// is the order of the answer; an ORDER BY that begins with the date keeps the dates in order. Asked as
// `between :a and <the real just below s>` and then as `between s and :b`, the two answers hold the same rows
// as the one, and one after the other they are in the same order: the two halves can be read on two
// connections at once and put end to end.
#pragma once

#include "tlosses/abi.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {

struct DateRangeRequest {
    // "select (select min(data_date) from data where <range>), (select max(data_date) ...)", the
    // range being "parnumber = ... between :a and :b": the first and last date the request can
    // read, two seeks in the table's key (min and max in one select would walk the whole range).
    // Bound with the request's own values twice over (RangeValues).
    std::string range_sql;
    // Where :a and :b stand among the values bound (named parameters bind in order of occurrence).
    size_t begin_value = 0;
    size_t end_value = 0;
};

// The request's date range when `sql` is a data request of exactly the form above, as the driver
// writes it (lower case, single blanks); none for anything else.
std::optional<DateRangeRequest> FindDateRangeRequest(std::string_view sql);

// The values range_sql binds: the request's, once for each of its two selects.
std::vector<TlVariant> RangeValues(std::span<const TlVariant> values);

struct SplitValues {
    std::vector<TlVariant> first;  // :b set just below the split date
    std::vector<TlVariant> second; // :a set to the split date
};

// The values of the two halves, split at `split`; none when :a or :b is not a number or the split
// date does not lie within them.
std::optional<SplitValues> SplitAt(const DateRangeRequest& request, std::span<const TlVariant> values,
                                   double split);

} // namespace tl::db
