// The benchmark's metering databases, generated once per size and generator version and kept.
#pragma once

#include <filesystem>
#include <string>

namespace tl::bench {

struct BenchDatabase {
    std::filesystem::path path;
    bool generated = false; // made now rather than found in the cache
    double seconds = 0;     // time to generate it
};

// The task of the formula method in the databases generated for it.
inline constexpr const char* kBenchFormulaTaskKey = "\\Scripts\\BenchFormulas\\";
// Momentary voltages of the formula databases are stored every half hour.
inline constexpr int kBenchVoltageStepMinutes = 30;

// The database for `pairs` channel pairs and `days` days, with its task configured: for method 1
// also the devices' momentary voltages and a task with a formula per pair. A missing one is
// generated in a child process, so that the generator's memory does not count as the run's.
BenchDatabase EnsureBenchDatabase(const std::filesystem::path& cache_dir, int pairs, int days,
                                  int method = 0);
// The same on a PostgreSQL server: the database behind `uri` gets the data when it is empty, and is
// taken as it is when it holds those of the same size (an error when it holds others).
BenchDatabase EnsureBenchServerDatabase(const std::string& uri, int pairs, int days, int method = 0);

} // namespace tl::bench
