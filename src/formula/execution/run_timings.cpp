#include "tlexecution/run_timings.hpp"

#include <array>
#include <cstdlib>
#include <fmt/format.h>

namespace tl {
namespace {

constexpr std::array<std::string_view, static_cast<size_t>(RunPhase::kCount)> kNames = {
    "compile", "collection", "queries", "read_rows", "execute", "parse", "result_rows", "store"};

double Seconds(RunTimings::Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

} // namespace

void RunTimings::Lap(RunPhase phase, Clock::time_point& since) {
    const Clock::time_point now = Clock::now();
    Add(phase, now - since);
    since = now;
}

void RunTimings::Add(RunPhase phase, Clock::duration duration) {
    phases_[static_cast<size_t>(phase)] += duration;
}

std::string_view RunTimings::Name(RunPhase phase) {
    return kNames[static_cast<size_t>(phase)];
}

std::vector<std::string> RunTimings::Lines(Clock::duration total) const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < phases_.size(); ++i) {
        lines.push_back(fmt::format("{}\t{:.6f}", kNames[i], Seconds(phases_[i])));
    }
    lines.push_back(fmt::format("total\t{:.6f}", Seconds(total)));
    return lines;
}

bool RunTimings::Requested() {
    const char* value = std::getenv("TLOSSES_RUN_TIMINGS");
    return value != nullptr && *value != '\0' && *value != '0';
}

} // namespace tl
