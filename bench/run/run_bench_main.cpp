// run_bench: a method-0 run over --pairs channel pairs and --days days of 30-minute data (with
// the hourly, daily and monthly data its passes read), through the host service and SQLite as
// tlhost runs it. The database is generated once per size and kept in the build directory. With
// --method 1 the task calculates a formula per pair (the demo's formulas, with momentary
// voltages) and the driver's own split of its run time is printed too.
//
//   run_bench                      # 1,000 pairs, 30 days
//   run_bench --pairs 100 --days 7
//   run_bench --method 1 --pairs 10000 --days 1
//   run_bench --db postgresql:///bench_p1000_d30    # on a PostgreSQL server
#include "bench_database.hpp"
#include "run_probe.hpp"
#include "run_trace.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldemo/scenario.hpp"
#include "tlhost/driver_library.hpp"
#include "tlhost/host_service.hpp"
#include "tlhost/task_runner.hpp"
#include "tlplatform/db_connection.hpp"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <malloc.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace tl;

struct Options {
    int pairs = 1000;
    int days = 30;
    int method = 0;
    std::string cache_dir = TL_BENCH_CACHE_DIR;
    std::string trace;  // where the run's queries are recorded for serial_floor
    std::string server; // a postgresql:// URI instead of a generated SQLite file
    bool peak_detail = false;
};

double Mib(int64_t kib) {
    return static_cast<double>(kib) / 1024.0;
}

// Deletes the results of an earlier run, which would turn this run's inserts into replacements, and
// opens the database as the process-wide connection, through which the driver reads the task's
// settings.
void OpenDatabase(const fs::path& database) {
    tl::db::Connection::OpenExisting(database.string())->Execute("delete from data where parnumber >= 30000");
    // What it read and freed is not the run's memory either: given back, and the peak (ru_maxrss)
    // started again from what is resident now, as serial_floor does after the same delete.
    malloc_trim(0);
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
    // A connection of its own for the run: the pages the delete read are not the run's memory.
    tl::db::SetProcessConnection(tl::db::Connection::OpenExisting(database.string()));
}

// Per query: its rows, the time until they are all read (the driver works on them meanwhile, and
// the previous pass is stored beside) and the time until the next query is issued, and the live
// heap against the start of the run, without what SQLite holds (its page caches fill up to their
// limit as the run reads), with the pass's set loaded and once its rows are handed over.
void PrintQueries(const bench::RunProbe& probe, int64_t heap_before, int64_t sqlite_before) {
    fmt::print("{:<14} {:>9} {:>8} {:>8} {:>9} {:>10} {:>8} {:>9} {:>8}\n", "query", "rows", "read s",
               "to next", "heap set", "heap after", "sqlite", "resident", "peak");
    const auto& queries = probe.Queries();
    for (size_t i = 0; i < queries.size(); ++i) {
        const bench::QueryRecord& q = queries[i];
        const double pass_end = i + 1 < queries.size() ? queries[i + 1].issued_s : probe.Seconds();
        const auto own = [&](int64_t heap, int64_t sqlite) {
            return Mib(heap - heap_before - (sqlite - sqlite_before));
        };
        fmt::print("{:<14} {:>9} {:>8.3f} {:>8.3f} {:>+9.1f} {:>+10.1f} {:>+8.1f} {:>9.1f} {:>8.1f}\n",
                   q.label, q.rows, q.delivered_s - q.issued_s, pass_end - q.issued_s,
                   own(q.heap_delivered_kib, q.sqlite_delivered_kib),
                   own(q.heap_after_kib, q.sqlite_after_kib), Mib(q.sqlite_after_kib - sqlite_before),
                   Mib(q.rss_delivered_kib), Mib(q.peak_after_kib));
    }
    fmt::print("(MiB)\n");
}

// What the memory was made of at its sampled peak, and when the heap handed out was highest.
void PrintPeak(const bench::RunProbe& probe) {
    const std::vector<bool> on_main = probe.ConnectionsOpenedOnMain();
    const auto print = [&](const char* what, const bench::PeakSnapshot& p) {
        fmt::print("{} ({:.2f} s {}): resident {:.1f} MiB = file-backed {:.1f} + anonymous {:.1f}; malloc: "
                   "handed out {:.1f} in arenas + {:.1f} mapped, {:.1f} free in arenas; SQLite {:.1f}\n",
                   what, p.at_s, p.after_end ? "from the start, after the run" : "into the run",
                   Mib(p.resident_kib), Mib(p.file_kib), Mib(p.resident_kib - p.file_kib),
                   Mib(p.heap_used_kib), Mib(p.heap_mmapped_kib), Mib(p.heap_free_kib), Mib(p.sqlite_kib));
        fmt::print("  page cache per connection (MiB, in the order opened; m: on the main thread):");
        for (size_t i = 0; i < p.cache_kib.size(); ++i) {
            fmt::print(" {:.1f}{}", Mib(p.cache_kib[i]), i < on_main.size() && on_main[i] ? "m" : "");
        }
        fmt::print("\n");
    };
    print("at the resident peak", probe.Peak());
    print("at the heap's peak", probe.HeapPeak());
}

// The driver's split of the run time, which it writes to the end of its run log when asked.
void PrintDriverTimings(const fs::path& run_log) {
    std::ifstream file(run_log, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string text = Cp1251ToUtf8(bytes.str());
    const std::string banner = "------------------Время выполнения------------------\r\n";
    const size_t at = text.find(banner);
    if (at == std::string::npos) {
        fmt::print("the run log holds no timings\n");
        return;
    }
    fmt::print("driver time by phase (s):\n");
    std::istringstream lines(text.substr(at + banner.size()));
    std::string line;
    while (std::getline(lines, line) && line.size() > 1) {
        line.pop_back(); // CR
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            break;
        }
        fmt::print("  {:<12} {:>10}\n", line.substr(0, tab), line.substr(tab + 1));
    }
}

int Run(const Options& options) {
    const bench::BenchDatabase database =
        options.server.empty()
            ? bench::EnsureBenchDatabase(options.cache_dir, options.pairs, options.days, options.method)
            : bench::EnsureBenchServerDatabase(options.server, options.pairs, options.days, options.method);
    if (database.generated) {
        fmt::print("database generated in {:.1f} s: {}\n", database.seconds, database.path.string());
    } else {
        fmt::print("database from the cache: {}\n", database.path.string());
    }
    OpenDatabase(database.path);
    const fs::path log_directory = fs::temp_directory_path() / fmt::format("run_bench_{}", getpid());
    fs::create_directories(log_directory);

    // The driver reads this when its task ends.
    setenv("TLOSSES_RUN_TIMINGS", "1", 1);
    auto driver = host::DriverLibrary::Load(host::DriverLibrary::DefaultPath());
    host::HostServiceOptions service_options;
    service_options.database_uri = database.path.string();
    service_options.log_directory = log_directory.string();
    bench::RunProbe probe;
    probe.Attach(service_options);
    std::unique_ptr<bench::TraceWriter> trace;
    if (!options.trace.empty()) {
        trace = std::make_unique<bench::TraceWriter>(options.trace);
        service_options.query_issued =
            [&trace, probed = std::move(service_options.query_issued)](int32_t task, std::string_view sql,
                                                                       std::span<const TlVariant> params) {
                trace->Query(sql, params);
                probed(task, sql, params);
            };
    }
    auto service = host::HostService::Create(std::move(service_options));

    const int64_t rss_before = bench::CurrentRssKib();
    const int64_t heap_before = bench::LiveHeapKib();
    const int64_t sqlite_before = bench::SqliteKib();
    const int64_t peak_before = bench::PeakRssKib();
    int32_t code = -1;
    std::string text;
    {
        host::TaskRunner runner(driver->Exports(), *service);
        runner.InitDriver();
        probe.Begin(options.peak_detail);
        runner.Start(options.method == 1 ? std::string(bench::kBenchFormulaTaskKey)
                                         : demo::BenchScenario(0, 0).task_key);
        runner.Run();
        probe.End();
        code = runner.Tasks().front().code;
        text = runner.DecodeResult(code);
        runner.DeInitDriver();
    }
    const host::HostServiceStats stats = service->Stats();
    probe.ForgetConnections();
    service->Shutdown();
    driver.reset();
    service.reset();
    if (options.method == 1) {
        PrintDriverTimings(log_directory / "tlosses.log");
    }
    fs::remove_all(log_directory);
    tl::db::SetProcessConnection(nullptr);
    probe.StopSampling();

    const double seconds = probe.Seconds();
    fmt::print("task ended with {} {}; {} status lines\n", code, text, probe.StatusLines());
    fmt::print(
        "pairs {}, days {}: run {:.2f} s, {} rows read ({:.0f}/s), {} rows written ({:.0f}/s) in {} stores\n",
        options.pairs, options.days, seconds, probe.RowsRead(),
        static_cast<double>(probe.RowsRead()) / seconds, stats.rows_written,
        static_cast<double>(stats.rows_written) / seconds, stats.stores);
    fmt::print("run processor time: user {:.2f} s, system {:.2f} s\n", probe.UserSeconds(),
               probe.SystemSeconds());
    fmt::print(
        "memory: resident before the run {:.1f} MiB; peak (ru_maxrss) {:.1f} MiB, growth during the run "
        "{:.1f} MiB\n",
        Mib(rss_before), Mib(bench::PeakRssKib()),
        Mib(bench::PeakRssKib() - std::max(peak_before, rss_before)));
    PrintQueries(probe, heap_before, sqlite_before);
    if (options.peak_detail) {
        PrintPeak(probe);
    }
    return code == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"A loss calculation run over generated metering data, measured.", "run_bench"};
    Options options;
    app.add_option("--pairs", options.pairs, "channel pairs (elements)")->check(CLI::Range(1, 100000));
    app.add_option("--days", options.days, "days of 30-minute data from 1 November")
        ->check(CLI::Range(1, 30));
    app.add_option("--method", options.method, "0: coefficients per channel, 1: a formula per pair")
        ->check(CLI::Range(0, 1));
    app.add_option("--cache-dir", options.cache_dir, "where generated databases are kept")
        ->capture_default_str();
    app.add_option("--trace", options.trace, "record the run's queries in this file for serial_floor");
    app.add_option("--db", options.server,
                   "a postgresql:// database to run on instead: an empty one gets the data, one of the same "
                   "size is taken as it is");
    app.add_flag("--peak-detail", options.peak_detail,
                 "sample the memory through the run and tell what it was made of at its peak");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    try {
        return Run(options);
    } catch (const std::exception& e) {
        fmt::print(stderr, "run_bench: {}\n", e.what());
        return 2;
    }
}
