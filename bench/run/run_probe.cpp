#include "run_probe.hpp"

#include "resident_pages.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <malloc.h>
#include <mutex>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tl::bench {
namespace {

// The SQLite connections opened since the probe was attached; none is closed before the run ends.
struct Connections {
    std::mutex mutex;
    std::thread::id main;
    std::vector<sqlite3*> handles;
    std::vector<bool> opened_on_main;
};

Connections& OpenedConnections() {
    static Connections connections;
    return connections;
}

int Register(sqlite3* db, const char** /*error*/, const sqlite3_api_routines* /*api*/) {
    Connections& c = OpenedConnections();
    std::lock_guard lock(c.mutex);
    c.handles.push_back(db);
    c.opened_on_main.push_back(std::this_thread::get_id() == c.main);
    return SQLITE_OK;
}

} // namespace

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

RunProbe::~RunProbe() {
    StopSampling();
}

void RunProbe::ForgetConnections() {
    Connections& c = OpenedConnections();
    std::lock_guard lock(c.mutex);
    c.handles.clear();
}

void RunProbe::StopSampling() {
    sampling_ = false;
    if (sampler_.joinable()) {
        sampler_.join();
    }
}

std::vector<bool> RunProbe::ConnectionsOpenedOnMain() const {
    Connections& c = OpenedConnections();
    std::lock_guard lock(c.mutex);
    return c.opened_on_main;
}

void RunProbe::Sample() {
    while (sampling_.load(std::memory_order_relaxed)) {
        const ResidentPages pages = ReadResidentPages();
        const struct mallinfo2 info = mallinfo2();
        const auto handed_out = static_cast<int64_t>((info.uordblks + info.hblkhd) / 1024);
        const bool resident_peak = pages.resident_kib > peak_.resident_kib;
        const bool heap_peak = handed_out > heap_peak_.heap_used_kib + heap_peak_.heap_mmapped_kib;
        if (resident_peak || heap_peak) {
            PeakSnapshot s;
            s.at_s = Since(std::chrono::steady_clock::now());
            s.after_end = ended_.load();
            s.resident_kib = pages.resident_kib;
            s.file_kib = pages.file_kib;
            s.heap_used_kib = static_cast<int64_t>(info.uordblks / 1024);
            s.heap_mmapped_kib = static_cast<int64_t>(info.hblkhd / 1024);
            s.heap_free_kib = static_cast<int64_t>(info.fordblks / 1024);
            s.sqlite_kib = sqlite3_memory_used() / 1024;
            Connections& c = OpenedConnections();
            std::lock_guard lock(c.mutex);
            for (sqlite3* db : c.handles) {
                // Read while the connection may be in use on its own thread: a sample of counters.
                int used = 0;
                int highwater = 0;
                sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_USED, &used, &highwater, 0);
                s.cache_kib.push_back(used / 1024);
            }
            if (heap_peak) {
                heap_peak_ = s;
            }
            if (resident_peak) {
                peak_ = std::move(s);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CpuSeconds(double& user, double& system) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    user = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) / 1e6;
    system = static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

void RunProbe::Attach(tl::host::HostServiceOptions& options) {
    OpenedConnections().main = std::this_thread::get_id();
    sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&Register));
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

void RunProbe::Begin(bool sample) {
    CpuSeconds(user_s_, system_s_);
    begin_ = std::chrono::steady_clock::now();
    if (sample) {
        sampling_ = true;
        sampler_ = std::thread([this] { Sample(); });
    }
}

void RunProbe::End() {
    end_ = std::chrono::steady_clock::now();
    ended_ = true;
    double user = 0;
    double system = 0;
    CpuSeconds(user, system);
    user_s_ = user - user_s_;
    system_s_ = system - system_s_;
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
