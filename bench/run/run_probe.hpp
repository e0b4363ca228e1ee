// What the benchmark watches during a run: each query the driver issues, the rows delivered for
// it, and the process's memory at both moments and when the run ends.
#pragma once

#include "tlhost/host_service.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
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
// The processor time of the process so far, user and system, in seconds.
void CpuSeconds(double& user, double& system);

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

// What the process's memory was made of at its highest resident size during the run (sampled
// every millisecond, so within a millisecond of the real peak), in KiB.
struct PeakSnapshot {
    double at_s = 0;
    int64_t resident_kib = 0;
    int64_t file_kib = 0;      // resident pages backed by files: the programs' and libraries' code and data
    int64_t heap_used_kib = 0; // handed out by malloc from its arenas
    int64_t heap_mmapped_kib = 0; // handed out by malloc as mappings of their own
    int64_t heap_free_kib = 0;    // freed and kept by malloc in its arenas (resident once touched)
    int64_t sqlite_kib = 0;       // of the heap handed out, what SQLite holds
    // The page cache of each SQLite connection opened since Attach, in the order opened.
    std::vector<int64_t> cache_kib;
    bool after_end = false; // the peak came once the run had ended, as the service shut down
};

class RunProbe {
public:
    RunProbe() = default;
    ~RunProbe();
    RunProbe(const RunProbe&) = delete;
    RunProbe& operator=(const RunProbe&) = delete;

    // Wires the probe into the service options (status lines are counted, not printed).
    void Attach(tl::host::HostServiceOptions& options);
    // The run's start and end; with `sample`, the memory is sampled from the start until
    // StopSampling (the sampling thread takes a little processor time: not for timed runs).
    void Begin(bool sample);
    void End();
    // Before the service closes its connections: the page caches are no longer read.
    void ForgetConnections();
    void StopSampling();

    const std::vector<QueryRecord>& Queries() const { return queries_; }
    int64_t RowsRead() const;
    int64_t StatusLines() const { return status_lines_; }
    double Seconds() const { return Since(end_); }
    // The processor time of the whole process (every thread) during the run, user and system.
    double UserSeconds() const { return user_s_; }
    double SystemSeconds() const { return system_s_; }
    const PeakSnapshot& Peak() const { return peak_; }
    // The same when the heap malloc had handed out was at its highest.
    const PeakSnapshot& HeapPeak() const { return heap_peak_; }
    // Whether each connection in Peak().cache_kib was opened on the thread that called Attach.
    std::vector<bool> ConnectionsOpenedOnMain() const;

private:
    double Since(std::chrono::steady_clock::time_point t) const {
        return std::chrono::duration<double>(t - begin_).count();
    }

    std::chrono::steady_clock::time_point begin_;
    std::chrono::steady_clock::time_point end_;
    double user_s_ = 0;
    double system_s_ = 0;
    void Sample();

    std::vector<QueryRecord> queries_;
    PeakSnapshot peak_;
    PeakSnapshot heap_peak_;
    std::atomic<bool> sampling_{false};
    std::atomic<bool> ended_{false};
    std::thread sampler_;
    size_t delivered_ = 0;
    int64_t status_lines_ = 0;
};

} // namespace tl::bench
