#include "tldata/pass_names.hpp"

#include "tldata/passes.hpp"

#include <array>

namespace tl {
namespace {

constexpr std::array<std::string_view, kPassCount> kNames = {"3min",  "1min",    "2min",  "4min", "5min",
                                                             "6min",  "10min",   "30min", "hour", "day",
                                                             "month", "quarter", "year"};
constexpr std::array<std::string_view, kPassCount> kTitles = {
    "3 minutes",  "1 minute", "2 minutes", "4 minutes", "5 minutes", "6 minutes", "10 minutes",
    "30 minutes", "hour",     "day",       "month",     "quarter",   "year"};

} // namespace

std::string_view PassName(int pass) {
    return pass >= 0 && pass < kPassCount ? kNames[static_cast<size_t>(pass)] : std::string_view();
}

std::string_view PassTitle(int pass) {
    return pass >= 0 && pass < kPassCount ? kTitles[static_cast<size_t>(pass)] : std::string_view();
}

std::optional<int> PassOfName(std::string_view name) {
    for (int pass = 0; pass < kPassCount; ++pass) {
        if (kNames[static_cast<size_t>(pass)] == name) {
            return pass;
        }
    }
    return std::nullopt;
}

std::string_view PassNameList() {
    return "3min, 1min, 2min, 4min, 5min, 6min, 10min, 30min, hour, day, month, quarter, year";
}

} // namespace tl
