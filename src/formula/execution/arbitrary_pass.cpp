// A pass of the arbitrary formula: the interval values of the pass stamp by stamp, with the
// momentary values kept for it.
#include "tlcommon/format_settings.hpp"
#include "tldata/data_readers.hpp"
#include "tldata/passes.hpp"
#include "tldata/result_reader.hpp"
#include "tlexecution/arbitrary_formula.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl {

bool ArbitraryFormula::ProcessPass(PassWindow& window, TlResultSet* interval_set, TlResultSet* momentary_set,
                                   ResultSink& sink) {
    if (interval_set == nullptr) {
        return true;
    }
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    ResultReader probe(interval_set);
    probe.First();
    if (probe.Eof()) {
        return true; // no row: nothing is computed, momentary values or not
    }
    IntervalDataReader reader(interval_set);
    // A set without rows reads like no set, whatever columns it lacks.
    const bool has_momentary = momentary_set != nullptr && !ResultReader(momentary_set).IsEmpty();
    MomentaryDataReader momentary(has_momentary ? momentary_set : nullptr);
    window.begin = reader.StampStart(window.begin);
    // Every stamp gives a row per element: the rows the pass will make, known before it starts.
    const size_t elements = std::max<size_t>(static_cast<size_t>(objects_.Count()), 1);
    const size_t max_stamps = kMaxPassRows / elements;
    const size_t stamps = StampCount(window, max_stamps + 1);
    if (stamps > max_stamps) {
        const std::string line = fmt::format(
            "Период прохода параметра {} слишком велик: с {} по {} больше {} штампов (элементов: {}, строк "
            "результата за проход не больше {})",
            PassParNumber(window.pass), FormatShortDateLongTime(window.begin),
            FormatShortDateLongTime(window.end), max_stamps, elements, kMaxPassRows);
        report_.LogLine("");
        report_.LogLine(line);
        report_.SendStatus(line);
        return false;
    }
    sink.Reserve(stamps * elements);
    do {
        data_.Clear();
        reader.ReadAtStamp(window.begin, data_);
        momentary_.Clear();
        momentary.ReadForStamp(window.pass, window.begin, momentary_, unused_flagged_, false);
        timings_.Lap(RunPhase::kReadRows, started);
        ExecuteInterval(window.pass, window.begin, data_, momentary_, 0, false, sink);
        started = RunTimings::Clock::now();
    } while (NextStamp(window));
    return true;
}

} // namespace tl
