// What the benchmark watches during a run: each query the driver issues, the rows delivered for
// it, and the process's memory at both moments and when the run ends.
#pragma once

#include "tlhost/host_service.hpp"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tl::bench {

// Resident memory now, the peak of the process so far (ru_maxrss), and the bytes the allocator
// has handed out and not yet taken back (all arenas; freed memory that stays resident does not
// count), in KiB.
int64_t CurrentRssKib();
int64_t PeakRssKib();
int64_t LiveHeapKib();
// Of the live heap, what SQLite holds (mostly the page caches of the connections), in KiB.
int64_t SqliteKib();

struct QueryRecord {
    std::string label; // the parameter number of a data request, or what else was asked
    double issued_s = 0;
    double delivered_s = 0; // when all its rows were read
    int64_t rows = -1;
    int64_t heap_issued_kib = 0;    // before the query: the previous pass has been processed and handed over
    int64_t heap_delivered_kib = 0; // its result set loaded
    int64_t sqlite_delivered_kib = 0;
    int64_t rss_delivered_kib = 0;
    int64_t heap_after_kib = 0; // when the next query was issued or the run ended
    int64_t sqlite_after_kib = 0;
    int64_t peak_after_kib = 0;
};

class RunProbe {
public:
    // Wires the probe into the service options (status lines are counted, not printed).
    void Attach(tl::host::HostServiceOptions& options);
    void Begin();
    void End();

    const std::vector<QueryRecord>& Queries() const { return queries_; }
    int64_t RowsRead() const;
    int64_t StatusLines() const { return status_lines_; }
    double Seconds() const { return Since(end_); }

private:
    double Since(std::chrono::steady_clock::time_point t) const {
        return std::chrono::duration<double>(t - begin_).count();
    }

    std::chrono::steady_clock::time_point begin_;
    std::chrono::steady_clock::time_point end_;
    std::vector<QueryRecord> queries_;
    size_t delivered_ = 0;
    int64_t status_lines_ = 0;
};

} // namespace tl::bench
