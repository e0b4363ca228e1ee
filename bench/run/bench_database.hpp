// The benchmark's metering databases, generated once per size and generator version and kept.
#pragma once

#include <filesystem>

namespace tl::bench {

struct BenchDatabase {
    std::filesystem::path path;
    bool generated = false; // made now rather than found in the cache
    double seconds = 0;     // time to generate it
};

// The database for `pairs` channel pairs and `days` days, with its task configured. A missing one
// is generated in a child process, so that the generator's memory does not count as the run's.
BenchDatabase EnsureBenchDatabase(const std::filesystem::path& cache_dir, int pairs, int days);

} // namespace tl::bench
