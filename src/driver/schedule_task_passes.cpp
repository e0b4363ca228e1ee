// The passes of a run: the window of each, its interval-data query, its processing and the
// hand-over of its rows.
#include "tldata/data_requests.hpp"
#include "tldata/passes.hpp"
#include "tldata/result_rows.hpp"
#include "tldriver/result_codes.hpp"
#include "tldriver/schedule_task.hpp"

namespace tl {
namespace {

class RecordsSink final : public ResultSink {
public:
    explicit RecordsSink(TDBRecords& records) : records_(records), writer_(records) {}
    void Add(const ResultRow& row) override { writer_.Add(row); }
    void Reserve(size_t rows) override { records_.ReserveResultRows(rows); }

private:
    TDBRecords& records_;
    ResultRowWriter writer_;
};

} // namespace

bool TScheduleTask::PreparePass() {
    const DateTime begin = step_ < kFirstBasePass ? adv_begin_ : base_begin_;
    return tl::PreparePass(window_, step_, begin, base_end_);
}

int32_t TScheduleTask::NextPass() {
    if (PreparePass()) {
        if (method_ == kMethodArbitraryFormula) {
            // The momentary values of the pass first; the interval values follow their answer.
            saved_pass_ = step_;
            step_ = kStepMomentary;
            RequestMomentary(channel_, momentary_filter_, window_.begin, window_.end);
        } else {
            RequestData(channel_, data_filter_, step_, window_.begin, window_.end);
        }
        return kResultWaiting;
    }
    return FinishPass();
}

int32_t TScheduleTask::ProcessDefinedFormulaPass() {
    records_ = std::make_unique<TDBRecords>();
    RecordsSink sink(*records_);
    defined_formula_.ProcessPass(window_, current_set_, base_end_, sink);
    DropDataSet(current_set_);
    return FinishPass();
}

int32_t TScheduleTask::ProcessArbitraryFormulaPass() {
    records_ = std::make_unique<TDBRecords>();
    RecordsSink sink(*records_);
    const bool computed = arbitrary_->ProcessPass(window_, current_set_, momentary_set_, sink);
    DropDataSet(current_set_);
    DropDataSet(momentary_set_);
    if (!computed) {
        // The pass's window is longer than a pass can be computed for: the scenario asks too much.
        records_.reset();
        SendStatus(FinalStatusLine(kResultBadScenario));
        return kResultBadScenario;
    }
    return FinishPass();
}

int32_t TScheduleTask::FinishPass() {
    if (records_ != nullptr && records_->Count() > 0) {
        RunTimings::Clock::time_point started = RunTimings::Clock::now();
        Link().Database().StoreRecords("Data", std::move(records_));
        timings_.Lap(RunPhase::kStore, started);
    }
    records_.reset();
    if (step_ >= kLastPass) {
        SendStatus(FinalStatusLine(kResultSuccess));
        return kResultSuccess;
    }
    step_ = step_ < kFirstBasePass ? static_cast<uint8_t>(kFirstBasePass) : static_cast<uint8_t>(step_ + 1);
    return NextPass();
}

} // namespace tl
