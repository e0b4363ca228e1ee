// The defined-formula method: line and transformer losses of element pairs from per-element
// coefficients. An element and its secondary channel (same object and type, the record's
// SecondarySensor as item) form a pair with an active and a reactive member; at each stamp both
// members get a result row computed from the two members' interval values.
#pragma once

#include "tldata/data_list.hpp"
#include "tldata/item_filter.hpp"
#include "tlmethods/calc_objects.hpp"
#include "tlmethods/loss_parts.hpp"
#include "tlmethods/pass_window.hpp"
#include "tlmethods/run_report.hpp"
#include "tlosses/abi.h"
#include "tlparams/method1_obj.hpp"
#include "tlparams/sensor_types.hpp"

#include <cstdint>
#include <vector>

namespace tl {

struct PairMember {
    ElementAddress address;
    const TMethod1Obj* params = nullptr;
    SensorKind kind = SensorKind::kNeither; // of the member's own channel
};

struct MemberPair {
    PairMember active;
    PairMember reactive;
};

class DefinedFormula {
public:
    // The objects must hold coefficient records and outlive this object.
    DefinedFormula(TCalcObjects& objects, RunReport& report, ElementStates& states);

    // Once the element list is read: every element's secondary channel joins `filter`, every
    // state condition's element is tracked, and the pairs are formed in element order. An element
    // whose partner is not in the list forms no pair.
    void Prepare(TSQLItemParamContainer& filter);
    const std::vector<MemberPair>& Pairs() const { return pairs_; }

    // The rows of every pair at one stamp, from the rows read at that stamp. A pair one of whose
    // members has no row is reported as skipped and gets no row.
    void ComputeStamp(int pass, DateTime stamp, const TDataList& rows, DateTime rcv_stamp, ResultSink& sink);

    // Walks the stamps of the pass's interval values from the window begin (moved forward to the
    // first row) to the window end. A null or empty set computes nothing.
    void ProcessPass(PassWindow& window, TlResultSet* set, DateTime rcv_stamp, ResultSink& sink);

    // The host's interrupt flag, looked at before every stamp: once it is set, ProcessPass throws
    // TaskInterrupted.
    void SetInterruptFlag(const volatile int32_t* flag) { interrupt_flag_ = flag; }

private:
    ResultRow ComputeMember(const PairMember& member, int32_t par_number, DateTime stamp, double active,
                            double reactive, int64_t status, DateTime rcv_stamp,
                            const IntervalFactors& factors);
    bool Suppressed(const TMethod1Obj& params, DateTime stamp) const;
    void ReportSkipped(const ElementAddress& member, DateTime stamp);

    TCalcObjects& objects_;
    RunReport& report_;
    ElementStates& states_;
    std::vector<MemberPair> pairs_;
    TDataList rows_; // reused stamp after stamp
    const volatile int32_t* interrupt_flag_ = nullptr;
};

} // namespace tl
