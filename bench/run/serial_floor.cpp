// serial_floor: the database work of a run and nothing else. It replays, on a bare libsqlite3
// connection, the queries a run_bench run issued (recorded with run_bench --trace) and stores the
// rows that run stored, pass by pass, each in one transaction right after its pass's data query,
// as the run does, with the host's insert statement of 64 rows: the time a host cannot go below
// without overlapping its database work.
//
//   serial_floor --db DATABASE --trace TRACE
//
// Before the clock starts it takes the results the last run left in DATABASE (parameters from
// 30000 on) into a scratch file and deletes them, so that its inserts are inserts as the run's
// were; the peak memory it prints is counted from then on. A store's rows are loaded from that
// file into memory before its transaction (outside the timing), as a program that had just
// computed them would hold them. Element filters run as row-value lists, as SQLite evaluates them
// in one lookup per row; the connection has the settings the database library gives its
// connections and gives its page cache back after each commit, as the host's writer does.
#include "resident_pages.hpp"
#include "run_trace.hpp"
#include "tlplatform/writer_cache.hpp"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fmt/format.h>
#include <malloc.h>
#include <map>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tl::bench;
using Clock = std::chrono::steady_clock;

volatile int64_t g_sink = 0;

struct ResultRow {
    int32_t par_number;
    int32_t object;
    int32_t item;
    int32_t type;
    double data_date;
    double value0;
    double value1;
    double rcv_stamp;
    int64_t status;
};

struct Stored {
    long offset = 0;
    size_t rows = 0;
};

class Db {
public:
    explicit Db(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK) {
            throw std::runtime_error(fmt::format("cannot open {}", path));
        }
        sqlite3_busy_timeout(db_, 10'000);
        Exec("pragma journal_mode = wal");
        Exec("pragma synchronous = normal");
        Exec("pragma cache_size = -65536");
    }
    sqlite3* Handle() const { return db_; }
    ~Db() { sqlite3_close_v2(db_); }

    void Exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            Fail(sql);
        }
    }
    sqlite3_stmt* Prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) !=
            SQLITE_OK) {
            Fail(sql.substr(0, 200));
        }
        return statement;
    }
    [[noreturn]] void Fail(std::string_view what) const {
        throw std::runtime_error(fmt::format("{}: {}", what, sqlite3_errmsg(db_)));
    }

private:
    sqlite3* db_ = nullptr;
};

// The driver's element filter "((object = 5 and objtype = 99 and item in (1, 2)) or (...))" as a
// row-value list; named parameters as "?".
std::string Positional(const std::string& sql) {
    std::string out;
    size_t i = 0;
    const std::string opening = "((object = ";
    while (i < sql.size()) {
        if (sql.compare(i, opening.size(), opening) == 0) {
            const char* p = sql.c_str() + i + 1;
            std::string values;
            for (;;) {
                long long object = 0;
                long long type = 0;
                int used = 0;
                if (std::sscanf(p, "(object = %lld and objtype = %lld and item in (%n", &object, &type,
                                &used) != 2 ||
                    used == 0) {
                    throw std::runtime_error("an element filter of an unexpected form");
                }
                p += used;
                for (;;) {
                    char* end = nullptr;
                    const long long item = std::strtoll(p, &end, 10);
                    values += fmt::format("{}({}, {}, {})", values.empty() ? "" : ", ", object, type, item);
                    p = end;
                    if (*p == ',') {
                        p += 2;
                        continue;
                    }
                    p += 2; // "))"
                    break;
                }
                if (std::string_view(p).starts_with(" or ")) {
                    p += 4;
                    continue;
                }
                ++p; // ")"
                break;
            }
            out += fmt::format("((object, objtype, item) in (values {}))", values);
            i = static_cast<size_t>(p - sql.c_str());
            continue;
        }
        if (sql[i] == ':' && i + 1 < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i + 1]))) {
            out += '?';
            ++i;
            while (i < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_')) {
                ++i;
            }
            continue;
        }
        out += sql[i++];
    }
    return out;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

int64_t PeakRssKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double CpuSeconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// What the resident memory is made of, taken after each query and store when it is the highest
// yet (with --peak-detail), in KiB.
struct PeakSnapshot {
    std::string step;
    int64_t resident_kib = 0;
    int64_t file_kib = 0;
    int64_t heap_used_kib = 0;
    int64_t heap_mmapped_kib = 0;
    int64_t heap_free_kib = 0;
    int64_t sqlite_kib = 0;
    int64_t cache_kib = 0;
    int64_t rows_kib = 0; // the rows of the store under way
};

// Gives back what the setup freed and starts the peak (ru_maxrss) again from the memory now
// resident, so that the peak is the run's, as run_bench's is.
void ForgetSetupMemory() {
    malloc_trim(0);
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

bool g_peak_detail = false;
PeakSnapshot g_peak;

void TakePeak(sqlite3* db, const char* step, size_t rows) {
    if (!g_peak_detail) {
        return;
    }
    const ResidentPages pages = ReadResidentPages();
    if (pages.resident_kib <= g_peak.resident_kib) {
        return;
    }
    const struct mallinfo2 info = mallinfo2();
    int cache = 0;
    int highwater = 0;
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_USED, &cache, &highwater, 0);
    g_peak = PeakSnapshot{step,
                          pages.resident_kib,
                          pages.file_kib,
                          static_cast<int64_t>(info.uordblks / 1024),
                          static_cast<int64_t>(info.hblkhd / 1024),
                          static_cast<int64_t>(info.fordblks / 1024),
                          sqlite3_memory_used() / 1024,
                          cache / 1024,
                          static_cast<int64_t>(rows * sizeof(ResultRow) / 1024)};
}

// The results of the last run, per parameter, into `scratch`.
std::map<int32_t, Stored> SaveResults(Db& db, std::FILE* scratch) {
    std::map<int32_t, Stored> stored;
    sqlite3_stmt* select = db.Prepare(
        "select parnumber, object, item, objtype, data_date, value0, value1, rcvstamp, tvkstatus from data "
        "where parnumber >= 30000 order by parnumber, data_date, season, object, item, objtype");
    while (sqlite3_step(select) == SQLITE_ROW) {
        const ResultRow row{sqlite3_column_int(select, 0),    sqlite3_column_int(select, 1),
                            sqlite3_column_int(select, 2),    sqlite3_column_int(select, 3),
                            sqlite3_column_double(select, 4), sqlite3_column_double(select, 5),
                            sqlite3_column_double(select, 6), sqlite3_column_double(select, 7),
                            sqlite3_column_int64(select, 8)};
        Stored& s = stored[row.par_number];
        if (s.rows == 0) {
            s.offset = std::ftell(scratch);
        }
        ++s.rows;
        std::fwrite(&row, sizeof row, 1, scratch);
    }
    sqlite3_finalize(select);
    std::fflush(scratch);
    return stored;
}

// The host's insert: its text in its column order, one row or g_batch_rows rows a statement.
constexpr size_t kColumns = 9;
size_t g_batch_rows = 64;

struct Inserts {
    sqlite3_stmt* single = nullptr;
    sqlite3_stmt* batch = nullptr; // none when rows are written one by one
};

std::string InsertText(size_t rows) {
    std::string text = "insert or replace into data (ParNumber, Data_Date, Object, Item, ObjType, Value0, "
                       "Value1, TvkStatus, RCVStamp) values (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    for (size_t r = 1; r < rows; ++r) {
        text += ", (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    }
    return text;
}

struct Totals {
    Clock::duration queries{};
    Clock::duration stores{};
    int64_t rows_read = 0;
    int64_t rows_written = 0;
    int64_t sink = 0; // keeps the column reads from being optimised away
};

void RunQuery(Db& db, const std::string& sql, const TraceQuery& q, Totals& totals) {
    const auto started = Clock::now();
    sqlite3_stmt* statement = db.Prepare(sql);
    const int markers = sqlite3_bind_parameter_count(statement);
    for (int i = 0; i < markers && static_cast<size_t>(i) < q.params.size(); ++i) {
        const TraceValue& v = q.params[static_cast<size_t>(i)];
        switch (v.kind) {
        case TraceValue::Kind::Integer:
            sqlite3_bind_int64(statement, i + 1, v.integer);
            break;
        case TraceValue::Kind::Real:
            sqlite3_bind_double(statement, i + 1, v.real);
            break;
        case TraceValue::Kind::Text:
            sqlite3_bind_text(statement, i + 1, v.text.data(), static_cast<int>(v.text.size()),
                              SQLITE_STATIC);
            break;
        case TraceValue::Kind::Null:
            sqlite3_bind_null(statement, i + 1);
            break;
        }
    }
    const int columns = sqlite3_column_count(statement);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        ++totals.rows_read;
        for (int c = 0; c < columns; ++c) {
            sqlite3_value* value = sqlite3_column_value(statement, c);
            switch (sqlite3_value_type(value)) {
            case SQLITE_INTEGER:
                totals.sink += sqlite3_value_int64(value);
                break;
            case SQLITE_FLOAT:
                totals.sink += static_cast<int64_t>(sqlite3_value_double(value));
                break;
            case SQLITE_NULL:
                break;
            default:
                totals.sink += sqlite3_value_bytes(value);
                break;
            }
        }
    }
    if (rc != SQLITE_DONE) {
        db.Fail("the query failed");
    }
    TakePeak(db.Handle(), "query", 0);
    sqlite3_finalize(statement);
    totals.queries += Clock::now() - started;
}

void BindRow(sqlite3_stmt* insert, int first, const ResultRow& row) {
    sqlite3_bind_int(insert, first + 1, row.par_number);
    sqlite3_bind_double(insert, first + 2, row.data_date);
    sqlite3_bind_int(insert, first + 3, row.object);
    sqlite3_bind_int(insert, first + 4, row.item);
    sqlite3_bind_int(insert, first + 5, row.type);
    sqlite3_bind_double(insert, first + 6, row.value0);
    sqlite3_bind_double(insert, first + 7, row.value1);
    sqlite3_bind_int64(insert, first + 8, row.status);
    sqlite3_bind_double(insert, first + 9, row.rcv_stamp);
}

void Step(Db& db, sqlite3_stmt* insert) {
    if (sqlite3_step(insert) != SQLITE_DONE) {
        db.Fail("the insert failed");
    }
    sqlite3_reset(insert);
}

// As the host writes: g_batch_rows rows a statement, the rest one by one.
void Store(Db& db, const Inserts& inserts, const std::vector<ResultRow>& rows, Totals& totals) {
    const auto started = Clock::now();
    // The page cache the host's writer keeps for a store of these rows.
    const int64_t cache_kib = tl::db::WriterCacheKib(static_cast<int64_t>(rows.size()));
    db.Exec(fmt::format("pragma cache_size = -{}", cache_kib).c_str());
    db.Exec("begin immediate");
    size_t at = 0;
    for (; inserts.batch != nullptr && rows.size() - at >= g_batch_rows; at += g_batch_rows) {
        for (size_t r = 0; r < g_batch_rows; ++r) {
            BindRow(inserts.batch, static_cast<int>(r * kColumns), rows[at + r]);
        }
        Step(db, inserts.batch);
    }
    for (; at < rows.size(); ++at) {
        BindRow(inserts.single, 0, rows[at]);
        Step(db, inserts.single);
    }
    TakePeak(db.Handle(), "store", rows.size());
    db.Exec("commit");
    sqlite3_db_release_memory(db.Handle()); // as the host's writer does after each commit
    db.Exec("pragma cache_size = -65536");  // the cache the floor opened with, for its reads
    totals.rows_written += static_cast<int64_t>(rows.size());
    totals.stores += Clock::now() - started;
}

int Run(const std::string& database, const std::string& trace_file) {
    const std::vector<TraceQuery> trace = ReadTrace(trace_file);
    std::vector<std::string> texts;
    for (const TraceQuery& q : trace) {
        texts.push_back(Positional(q.sql));
    }
    std::FILE* scratch = std::tmpfile();
    if (scratch == nullptr) {
        throw std::runtime_error("no scratch file");
    }
    Db db(database);
    const std::map<int32_t, Stored> stored = SaveResults(db, scratch);
    if (stored.empty()) {
        throw std::runtime_error("the database holds no results: run run_bench --trace on it first");
    }
    db.Exec("delete from data where parnumber >= 30000");
    // The pages this read and the memory it freed are not the run's.
    sqlite3_db_release_memory(db.Handle());
    ForgetSetupMemory();
    Inserts inserts;
    inserts.single = db.Prepare(InsertText(1));
    if (g_batch_rows > 1) {
        inserts.batch = db.Prepare(InsertText(g_batch_rows));
    }

    Totals totals;
    Clock::duration loading{};
    rusage cpu_before{};
    getrusage(RUSAGE_SELF, &cpu_before);
    const auto started = Clock::now();
    for (size_t i = 0; i < trace.size(); ++i) {
        const TraceQuery& q = trace[i];
        if (q.sql.empty()) {
            continue;
        }
        RunQuery(db, texts[i], q, totals);
        if (q.sql.find(":pn1") == std::string::npos || q.params.empty()) {
            continue;
        }
        const auto it = stored.find(static_cast<int32_t>(q.params[0].integer + 30000));
        if (it == stored.end()) {
            continue;
        }
        const auto load_started = Clock::now();
        std::vector<ResultRow> rows(it->second.rows);
        std::fseek(scratch, it->second.offset, SEEK_SET);
        if (std::fread(rows.data(), sizeof(ResultRow), rows.size(), scratch) != rows.size()) {
            throw std::runtime_error("the scratch file is short");
        }
        loading += Clock::now() - load_started;
        Store(db, inserts, rows, totals);
    }
    const double run = Seconds(Clock::now() - started - loading);
    rusage cpu_after{};
    getrusage(RUSAGE_SELF, &cpu_after);
    sqlite3_finalize(inserts.single);
    sqlite3_finalize(inserts.batch);
    std::fclose(scratch);
    fmt::print("floor: run {:.2f} s (queries {:.2f} s, stores {:.2f} s), {} rows read, {} rows written; peak "
               "memory (ru_maxrss) {:.1f} MiB\n",
               run, Seconds(totals.queries), Seconds(totals.stores), totals.rows_read, totals.rows_written,
               static_cast<double>(PeakRssKib()) / 1024.0);
    fmt::print("floor processor time (loading the stores' rows included): user {:.2f} s, system {:.2f} s\n",
               CpuSeconds(cpu_after.ru_utime) - CpuSeconds(cpu_before.ru_utime),
               CpuSeconds(cpu_after.ru_stime) - CpuSeconds(cpu_before.ru_stime));
    if (g_peak_detail) {
        const PeakSnapshot& p = g_peak;
        const auto mib = [](int64_t kib) { return static_cast<double>(kib) / 1024.0; };
        fmt::print(
            "at the peak (after a {}): resident {:.1f} MiB = file-backed {:.1f} + anonymous {:.1f}; malloc: "
            "handed out {:.1f} in arenas + {:.1f} mapped, {:.1f} free in arenas; SQLite {:.1f}, of which "
            "page cache {:.1f}; the store's rows {:.1f}\n",
            p.step, mib(p.resident_kib), mib(p.file_kib), mib(p.resident_kib - p.file_kib),
            mib(p.heap_used_kib), mib(p.heap_mmapped_kib), mib(p.heap_free_kib), mib(p.sqlite_kib),
            mib(p.cache_kib), mib(p.rows_kib));
    }
    g_sink = totals.sink;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"The database statements of a recorded run on bare SQLite, timed.", "serial_floor"};
    std::string database;
    std::string trace;
    app.add_option("--db", database, "the run's database (with the results of the run)")->required();
    app.add_option("--trace", trace, "the queries of the run (run_bench --trace)")->required();
    app.add_option("--batch-rows", g_batch_rows,
                   "rows an insert statement writes, as the host does (1: one by one)")
        ->capture_default_str()
        ->check(CLI::Range(1, 100));
    app.add_flag("--peak-detail", g_peak_detail,
                 "after each query and store, note what the memory is made of when it is the highest yet");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    try {
        return Run(database, trace);
    } catch (const std::exception& e) {
        fmt::print(stderr, "serial_floor: {}\n", e.what());
        return 2;
    }
}
