// What a loss report shows of one task, read from the settings store and the metering table: the
// task's settings, its elements with their names and records, the stored losses per interval kind
// aligned on the kind's stamps, and the elements whose losses are not all there.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/element_address.hpp"
#include "tlexchange/interval_kinds.hpp"
#include "tlexchange/task_catalogue.hpp"
#include "tlplatform/db_connection.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tl::report {

struct ReportElement {
    ElementAddress address;
    std::string name;               // from the catalogue; empty when it has none
    std::string record;             // the stored record text (coefficients or formula)
    std::vector<std::string> words; // the record in words
    std::string not_calculated;     // why the run leaves it out, when it does
};

struct StoredValue {
    double value0 = 0;
    double value1 = 0;
    bool status_bit = false;
};

// One interval kind: the stamps at which any element of the task has a stored row, and per element
// its values at those stamps (none where it has no row).
struct KindLosses {
    exchange::IntervalKind kind;
    std::vector<DateTime> stamps;
    std::vector<std::vector<std::optional<StoredValue>>> values; // [element][stamp]
};

struct IncompleteElement {
    ElementAddress address;
    std::string reason;
};

struct TaskReport {
    exchange::TaskSummary summary;
    std::string common_script;
    std::vector<ReportElement> elements;
    std::vector<KindLosses> kinds; // kinds with rows only, in pass order
    std::vector<IncompleteElement> incomplete;
    std::optional<DateTime> from; // the report's period, when one was given
    std::optional<DateTime> to;
};

struct ReportFilter {
    std::vector<int32_t> result_par_numbers; // empty: every kind
    std::optional<DateTime> from;
    std::optional<DateTime> to;
};

// The settings are read with `config`, the rows through `connection` (the process-wide one).
TaskReport ReadTaskReport(TSvcConfig& config, tl::db::Connection& connection, std::string_view task_key,
                          const ReportFilter& filter);

} // namespace tl::report
