// Helpers of the driver and data tests: a private temporary directory, file reading, completion
// draining, date-times by their parts.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tltest/temp_dir.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tl::test {

// The file's bytes; empty when it does not exist (see FileExists).
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

struct Completion {
    uint32_t message;
    int64_t task_id;
    int64_t code;
    friend bool operator==(const Completion&, const Completion&) = default;
};
// Every completion waiting in the queue, oldest first (does not wait for more).
std::vector<Completion> TakeCompletions(uint32_t window);

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, ms});
}

} // namespace tl::test
