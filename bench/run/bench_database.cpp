#include "bench_database.hpp"

#include "tldemo/demo_task.hpp"
#include "tldemo/formula_task.hpp"
#include "tldemo/metering_writer.hpp"
#include "tldemo/scenario.hpp"
#include "tldemo/voltage_series.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlsettings/svc_config.hpp"

#include <chrono>
#include <cstdio>
#include <fmt/format.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tl::bench {
namespace {

namespace fs = std::filesystem;

int Generate(const std::string& uri, int pairs, int days, int method) noexcept {
    try {
        const demo::Scenario scenario = demo::BenchScenario(pairs, days);
        auto connection = tl::db::Connection::Open(uri);
        tl::db::InitSchema(*connection);
        const demo::WriteStats stats = demo::WriteMeteringData(*connection, scenario);
        if (method == 1) {
            const int64_t voltages = demo::WriteVoltages(*connection, scenario, kBenchVoltageStepMinutes);
            fmt::print("generated {} momentary voltages\n", voltages);
        }
        tl::db::SetProcessConnection(std::move(connection));
        TSvcConfig config{std::string(kScheduleStorage)};
        demo::ConfigureTask(config, scenario);
        if (method == 1) {
            demo::ConfigureFormulaTask(config, scenario, kBenchFormulaTaskKey);
        }
        tl::db::SetProcessConnection(nullptr);
        fmt::print("generated {} metering rows for {} channel pairs and {} days\n", stats.data_rows, pairs,
                   days);
        return 0;
    } catch (const std::exception& e) {
        fmt::print(stderr, "run_bench: generating {} failed: {}\n", uri, e.what());
        return 1;
    }
}

// The generator runs in a child process, so that its memory does not count as the run's.
void GenerateInChild(const std::string& uri, int pairs, int days, int method) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int status = Generate(uri, pairs, days, method);
        std::fflush(stdout);
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the generator failed");
    }
}

std::string SizeName(int pairs, int days, int method) {
    return method == 1 ? fmt::format("run_v{}_f{}_p{}_d{}", demo::kGeneratorVersion,
                                     demo::kFormulaGeneratorVersion, pairs, days)
                       : fmt::format("run_v{}_p{}_d{}", demo::kGeneratorVersion, pairs, days);
}

} // namespace

BenchDatabase EnsureBenchDatabase(const fs::path& cache_dir, int pairs, int days, int method) {
    BenchDatabase db;
    db.path = cache_dir / (SizeName(pairs, days, method) + ".db");
    if (fs::exists(db.path)) {
        return db;
    }
    fs::create_directories(cache_dir);
    const fs::path partial = db.path.string() + ".part";
    for (const char* suffix : {"", "-wal", "-shm"}) {
        fs::remove(partial.string() + suffix);
    }
    const auto started = std::chrono::steady_clock::now();
    GenerateInChild(partial.string(), pairs, days, method);
    // The generator closed its connection, which checkpoints the write-ahead log into the file.
    fs::rename(partial, db.path);
    db.generated = true;
    db.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return db;
}

} // namespace tl::bench

namespace tl::bench {

BenchDatabase EnsureBenchServerDatabase(const std::string& uri, int pairs, int days, int method) {
    const std::string name = SizeName(pairs, days, method);
    BenchDatabase db;
    db.path = uri;
    {
        auto connection = tl::db::Connection::OpenExisting(uri);
        connection->Execute("create table if not exists bench_size (name text not null)");
        auto sizes = connection->Query("select name from bench_size", {});
        if (!sizes->IsEmpty()) {
            if (sizes->AsText(0) != name) {
                throw std::runtime_error(
                    fmt::format("{} holds the benchmark data {}, not {}: give another database", uri,
                                sizes->AsText(0), name));
            }
            return db;
        }
        tl::db::InitSchema(*connection);
        if (connection->Query("select count(*) from data", {})->AsInt64(0) != 0) {
            throw std::runtime_error(fmt::format("{} holds metering data: give an empty database", uri));
        }
    }
    const auto started = std::chrono::steady_clock::now();
    GenerateInChild(uri, pairs, days, method);
    const TlVariant value{TL_VT_STRING, {.str = name.c_str()}};
    tl::db::Connection::OpenExisting(uri)->Execute("insert into bench_size (name) values (:name)",
                                                   {&value, 1});
    db.generated = true;
    db.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return db;
}

} // namespace tl::bench
