// The losses a task stored, read back from the metering table: by element, interval kind and
// period, and written out as CSV with readable dates.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/element_address.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tl::exchange {

struct ResultFilter {
    std::vector<ElementAddress> elements;
    // Result parameter numbers (30002 ... 30056); empty: every one.
    std::vector<int32_t> result_par_numbers;
    std::optional<DateTime> from; // both ends included
    std::optional<DateTime> to;
};

struct StoredResult {
    int32_t par_number = 0;
    ElementAddress element;
    DateTime date = 0;
    int32_t season = 0;
    double value0 = 0;
    double value1 = 0;
    int64_t status = 0;
};

// Ordered by parameter, element, date and season.
std::vector<StoredResult> ReadStoredResults(tl::db::Connection& connection, const ResultFilter& filter);

// A header line "parameter,object,type,item,date,season,value0,value1,status" and one line per
// row: dates as "yyyy-mm-dd hh:nn:ss", numbers in their shortest exact form, the status word in
// hexadecimal. `tlhost data import` reads it back.
std::string ResultsCsv(const std::vector<StoredResult>& results);

} // namespace tl::exchange
