// Data requests that a reader can read in two halves at once, one per connection.
//
// The driver reads interval data with
//   select * from data where parnumber = <number or :name> and data_date between :a and :b
//     [and <element filter>]
// With the metering table clustered by (parnumber, data_date, ...) and no other index on it, every
// plan of such a request walks the rows of the parameter in date order, and without ORDER BY that
// is the order of the answer. Asked as `between :a and <the real just below s>` and then as
// `between s and :b`, the two answers hold the same rows as the one, and one after the other they
// are in the same order: the two halves can be read on two connections at once and put end to end.
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
    // "select min(data_date), max(data_date) from data where parnumber = ... between :a and :b":
    // the first and last date the request can read, with the request's own values.
    std::string range_sql;
    // Where :a and :b stand among the values bound (named parameters bind in order of occurrence).
    size_t begin_value = 0;
    size_t end_value = 0;
};

// The request's date range when `sql` is a data request of exactly the form above, as the driver
// writes it (lower case, single blanks); none for anything else.
std::optional<DateRangeRequest> FindDateRangeRequest(std::string_view sql);

struct SplitValues {
    std::vector<TlVariant> first;  // :b set just below the split date
    std::vector<TlVariant> second; // :a set to the split date
};

// The values of the two halves, split at `split`; none when :a or :b is not a number or the split
// date does not lie within them.
std::optional<SplitValues> SplitAt(const DateRangeRequest& request, std::span<const TlVariant> values,
                                   double split);

} // namespace tl::db
