#include "tlexchange/interval_kinds.hpp"

#include "tldata/passes.hpp"

#include <array>
#include <charconv>

namespace tl::exchange {
namespace {

constexpr std::array<std::string_view, kPassCount> kNames = {"3min",  "1min",    "2min",  "4min", "5min",
                                                             "6min",  "10min",   "30min", "hour", "day",
                                                             "month", "quarter", "year"};
constexpr std::array<std::string_view, kPassCount> kTitles = {
    "3 minutes",  "1 minute", "2 minutes", "4 minutes", "5 minutes", "6 minutes", "10 minutes",
    "30 minutes", "hour",     "day",       "month",     "quarter",   "year"};

constexpr std::array<IntervalKind, kPassCount> MakeKinds() {
    std::array<IntervalKind, kPassCount> kinds{};
    for (int pass = 0; pass < kPassCount; ++pass) {
        const auto p = static_cast<size_t>(pass);
        kinds[p] = {pass, kNames[p], kTitles[p], kPassParNumbers[p],
                    kPassParNumbers[p] + kResultParNumberOffset};
    }
    return kinds;
}

constexpr std::array<IntervalKind, kPassCount> kKinds = MakeKinds();

} // namespace

std::span<const IntervalKind> IntervalKinds() {
    return kKinds;
}

const IntervalKind* FindIntervalKind(std::string_view text) {
    int32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool is_number = error == std::errc() && end == text.data() + text.size();
    for (const IntervalKind& kind : kKinds) {
        if (is_number ? number == kind.par_number || number == kind.result_par_number : text == kind.name) {
            return &kind;
        }
    }
    return nullptr;
}

const IntervalKind* IntervalKindOfResult(int32_t result_par_number) {
    for (const IntervalKind& kind : kKinds) {
        if (kind.result_par_number == result_par_number) {
            return &kind;
        }
    }
    return nullptr;
}

std::string_view IntervalKindNames() {
    return "3min, 1min, 2min, 4min, 5min, 6min, 10min, 30min, hour, day, month, quarter, year";
}

} // namespace tl::exchange
