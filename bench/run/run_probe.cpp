#include "run_probe.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <malloc.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tl::bench {

int64_t CurrentRssKib() {
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(statm, "%ld %ld", &size, &pages) != 2) {
            pages = 0;
        }
        std::fclose(statm);
    }
    return static_cast<int64_t>(pages) * sysconf(_SC_PAGESIZE) / 1024;
}

int64_t PeakRssKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int64_t LiveHeapKib() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<int64_t>((info.uordblks + info.hblkhd) / 1024);
}

int64_t SqliteKib() {
    return sqlite3_memory_used() / 1024;
}

void RunProbe::Attach(tl::host::HostServiceOptions& options) {
    options.status = [this](std::string_view, std::string_view) { ++status_lines_; };
    options.query_issued = [this](int32_t, std::string_view sql, std::span<const TlVariant> params) {
        if (!queries_.empty()) {
            queries_.back().heap_after_kib = LiveHeapKib();
            queries_.back().sqlite_after_kib = SqliteKib();
            queries_.back().peak_after_kib = PeakRssKib();
        }
        QueryRecord q;
        if (sql.find(":pn1") != std::string_view::npos && !params.empty() && params[0].kind == TL_VT_INT32) {
            q.label = fmt::format("parameter {}", params[0].v.i32);
        } else {
            q.label = sql.empty()                                              ? "empty query"
                      : sql.find("eventlist") != std::string_view::npos        ? "states"
                      : sql.find("from parameters") != std::string_view::npos  ? "discreteness"
                      : sql.find("parnumber = 1100") != std::string_view::npos ? "momentary"
                                                                               : "other";
        }
        q.issued_s = Since(std::chrono::steady_clock::now());
        q.heap_issued_kib = LiveHeapKib();
        queries_.push_back(std::move(q));
    };
    // Queries are answered in the order issued; a set handed over while it is read is counted when
    // it is all read, which may be after the next query was issued.
    options.query_delivered = [this](int32_t, int64_t rows) {
        if (delivered_ < queries_.size()) {
            QueryRecord& q = queries_[delivered_++];
            q.rows = rows;
            q.delivered_s = Since(std::chrono::steady_clock::now());
            q.heap_delivered_kib = LiveHeapKib();
            q.sqlite_delivered_kib = SqliteKib();
            q.rss_delivered_kib = CurrentRssKib();
        }
    };
}

void RunProbe::Begin() {
    begin_ = std::chrono::steady_clock::now();
}

void RunProbe::End() {
    end_ = std::chrono::steady_clock::now();
    if (!queries_.empty()) {
        queries_.back().heap_after_kib = LiveHeapKib();
        queries_.back().sqlite_after_kib = SqliteKib();
        queries_.back().peak_after_kib = PeakRssKib();
    }
}

int64_t RunProbe::RowsRead() const {
    int64_t rows = 0;
    for (const QueryRecord& q : queries_) {
        rows += q.rows > 0 ? q.rows : 0;
    }
    return rows;
}

} // namespace tl::bench
