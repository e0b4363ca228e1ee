// What the host saw of one task's work: the queries it answered, the records it stored, the
// elements the driver reported as not fully computed, and the database's own texts of failures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

struct TaskCounters {
    int64_t queries = 0;
    int64_t failed_queries = 0;
    int64_t rows_read = 0; // rows of the result sets delivered
    int64_t stores = 0;
    int64_t failed_stores = 0;
    int64_t rows_stored = 0; // rows of committed stores
    // Element addresses ("100.0.5") from the driver's closing status line.
    std::vector<std::string> incomplete_elements;
    // One text per failed query or store, in the order they failed.
    std::vector<std::string> failures;

    bool Failed() const { return failed_queries + failed_stores > 0; }
};

// The addresses of the driver's "Следующие элементы рассчитаны не полностью: ..." status line;
// empty for any other line.
std::vector<std::string> IncompleteElementsOf(std::string_view status_line);

} // namespace tl::host
