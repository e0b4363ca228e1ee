// The demo's metering database generated once into memory, and the rows of one channel from it.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldemo/scenario.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>
#include <vector>

namespace tl::demo::testing {

struct Row {
    DateTime stamp = 0;
    double value = 0;
};

const Scenario& GeneratedScenario();
tl::db::Connection& GeneratedDatabase();

// Rows of a parameter for one channel (object type 0) in stamp order.
std::vector<Row> ChannelRows(tl::db::Connection& db, int32_t par_number, int32_t object, int32_t item);

} // namespace tl::demo::testing
