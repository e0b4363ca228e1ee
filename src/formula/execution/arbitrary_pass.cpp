// A pass of the arbitrary formula: the interval values of the pass stamp by stamp, with the
// momentary values kept for it.
#include "tldata/data_readers.hpp"
#include "tldata/result_reader.hpp"
#include "tlexecution/arbitrary_formula.hpp"

namespace tl {
void ArbitraryFormula::ProcessPass(PassWindow& window, TlResultSet* interval_set, TlResultSet* momentary_set,
                                   ResultSink& sink) {
    if (interval_set == nullptr) {
        return;
    }
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    ResultReader probe(interval_set);
    probe.First();
    if (probe.Eof()) {
        return; // no row: nothing is computed, momentary values or not
    }
    IntervalDataReader reader(interval_set);
    // A set without rows reads like no set, whatever columns it lacks.
    const bool has_momentary = momentary_set != nullptr && !ResultReader(momentary_set).IsEmpty();
    MomentaryDataReader momentary(has_momentary ? momentary_set : nullptr);
    window.begin = reader.StampStart(window.begin);
    // Every stamp gives a row per element.
    sink.Reserve(StampCount(window) * static_cast<size_t>(objects_.Count()));
    do {
        data_.Clear();
        reader.ReadAtStamp(window.begin, data_);
        momentary_.Clear();
        momentary.ReadForStamp(window.pass, window.begin, momentary_, unused_flagged_, false);
        timings_.Lap(RunPhase::kReadRows, started);
        ExecuteInterval(window.pass, window.begin, data_, momentary_, 0, false, sink);
        started = RunTimings::Clock::now();
    } while (NextStamp(window));
}

} // namespace tl
