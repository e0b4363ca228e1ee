// Where a run spends its time, phase by phase. The clock is read a few times per stamp and per
// query, never per row, so the figures cost nothing worth measuring. The run writes them to its
// log only when the environment variable TLOSSES_RUN_TIMINGS is set (benchmarks set it).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

enum class RunPhase : size_t {
    kCompile,    // the run script compiled
    kCollection, // the collection pass with its lists
    kQueries,    // waiting for the host's answers
    kReadRows,   // rows of each stamp read into the data lists
    kExecute,    // the program run once per stamp
    kParse,      // its output read back into values
    kResultRows, // result rows added to the pass's records
    kStore,      // the records handed to the host
    kCount
};

class RunTimings {
public:
    using Clock = std::chrono::steady_clock;

    // Adds the time since `since` to `phase` and moves `since` on to now, so that consecutive
    // phases are measured with one clock reading each.
    void Lap(RunPhase phase, Clock::time_point& since);
    void Add(RunPhase phase, Clock::duration duration);
    Clock::duration Of(RunPhase phase) const { return phases_[static_cast<size_t>(phase)]; }

    // "name<TAB>seconds" per phase, then "total" with `total`.
    std::vector<std::string> Lines(Clock::duration total) const;
    static std::string_view Name(RunPhase phase);

    // Whether the environment asks runs to log their timings.
    static bool Requested();

private:
    std::array<Clock::duration, static_cast<size_t>(RunPhase::kCount)> phases_{};
};

} // namespace tl
