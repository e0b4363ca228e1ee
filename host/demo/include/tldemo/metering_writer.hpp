// Fills a metering database (schema already created) with a scenario: the catalogue of devices,
// channels, measurement objects and their states, the event list, and the metering rows of every
// channel, all in one transaction.
#pragma once

#include "tldemo/scenario.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>

namespace tl::demo {

struct WriteStats {
    int64_t data_rows = 0;
    int64_t event_rows = 0;
};

// Channel names in the catalogue: "<element> (акт.)", "<element> (реакт.)".
std::string ChannelName(const NetworkElement& element, bool active);

WriteStats WriteMeteringData(tl::db::Connection& connection, const Scenario& scenario);

} // namespace tl::demo
