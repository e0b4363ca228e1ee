#include "tlmethods/defined_formula.hpp"

#include "tlcommon/format_settings.hpp"
#include "tlcommon/interrupt.hpp"
#include "tldata/data_readers.hpp"
#include "tldata/passes.hpp"
#include "tldata/result_reader.hpp"
#include "tldata/state_container.hpp"

#include <fmt/format.h>
#include <stdexcept>

namespace tl {
namespace {

const TMethod1Obj& CoefficientsOf(const TCalcObject& object) {
    const auto* params = dynamic_cast<const TMethod1Obj*>(object.params.get());
    if (params == nullptr) {
        throw std::logic_error(
            fmt::format("the element {} has no coefficient record", FormatAddress(object.address)));
    }
    return *params;
}

PairMember MemberOf(const TCalcObject& object) {
    const TMethod1Obj& params = CoefficientsOf(object);
    return {object.address, &params, SensorTypeKind(params.SensorType)};
}

} // namespace

DefinedFormula::DefinedFormula(TCalcObjects& objects, RunReport& report, ElementStates& states)
    : objects_(objects), report_(report), states_(states) {}

void DefinedFormula::Prepare(TSQLItemParamContainer& filter) {
    for (TCalcObjects::Index i = 0; i < objects_.Count(); ++i) {
        const TCalcObject& object = objects_.At(i);
        const TMethod1Obj& params = CoefficientsOf(object);
        filter.Add(object.address.object, object.address.type, params.SecondarySensor);
        if (params.NotCalcState) {
            states_.Track({params.StateObjCode, params.StateObjType, params.StateItem});
        }
    }

    // The pairs are the same at every stamp: formed once here.
    pairs_.clear();
    objects_.ClearProcessed();
    for (TCalcObjects::Index i = 0; i < objects_.Count(); ++i) {
        TCalcObject& object = objects_.At(i);
        if (object.processed) {
            continue;
        }
        object.processed = true;
        const TMethod1Obj& params = CoefficientsOf(object);
        const TCalcObjects::Index partner_index =
            objects_.Find({object.address.object, object.address.type, params.SecondarySensor});
        if (partner_index == TCalcObjects::kNone) {
            continue;
        }
        TCalcObject& partner = objects_.At(partner_index);
        partner.processed = true;
        const PairMember own = MemberOf(object);
        const PairMember other = MemberOf(partner);
        if (own.kind == SensorKind::kActive) {
            pairs_.push_back({own, other});
        } else {
            pairs_.push_back({other, own});
        }
    }
}

bool DefinedFormula::Suppressed(const TMethod1Obj& params, DateTime stamp) const {
    if (!params.NotCalcState) {
        return false;
    }
    const ElementAddress element{params.StateObjCode, params.StateObjType, params.StateItem};
    return states_.StateAt(element, stamp, kSeasonKey) == params.StateValue;
}

void DefinedFormula::ReportSkipped(const ElementAddress& member, DateTime stamp) {
    report_.SendStatus(fmt::format("Пропущен объект: {}. Штамп: {}. Сезон: {} (Нет значения активной "
                                   "мощности/энергии)",
                                   FormatAddress(member), FormatShortDateLongTime(stamp), "Лето"));
}

ResultRow DefinedFormula::ComputeMember(const PairMember& member, int32_t par_number, DateTime stamp,
                                        double active, double reactive, int64_t status, DateTime rcv_stamp,
                                        const IntervalFactors& factors) {
    ResultRow row{par_number, stamp,    member.address.object, member.address.item, member.address.type, 0, 0,
                  status,     rcv_stamp};
    const TMethod1Obj& params = *member.params;
    if (Suppressed(params, stamp)) {
        return row;
    }
    bool failed = false;
    if (params.InLine) {
        const std::optional<double> line = LineLosses(params, factors, active, reactive);
        failed = !line.has_value();
        row.value0 = line.value_or(0.0);
    }
    if (params.InTransf) {
        const std::optional<double> transformer =
            TransformerLosses(params, member.kind, factors.hours, active, reactive);
        failed = failed || !transformer.has_value();
        row.value1 = transformer.value_or(0.0);
    }
    if (failed) {
        report_.SendStatus(fmt::format("Объект: {} (Ошибка в расчетах)", FormatAddress(member.address)));
    }
    return row;
}

void DefinedFormula::ComputeStamp(int pass, DateTime stamp, const TDataList& rows, DateTime rcv_stamp,
                                  ResultSink& sink) {
    const IntervalFactors factors = FactorsOf(pass, stamp);
    const int32_t par_number = ResultParNumber(pass);
    for (const MemberPair& pair : pairs_) {
        // Only the first row of a member counts: a second one at the same stamp belongs to the
        // other season.
        const TDataList::Index active = rows.Find(pair.active.address);
        if (active == TDataList::kNone) {
            ReportSkipped(pair.active.address, stamp);
            continue;
        }
        const TDataList::Index reactive = rows.Find(pair.reactive.address);
        if (reactive == TDataList::kNone) {
            ReportSkipped(pair.reactive.address, stamp);
            continue;
        }
        const TDataRow& active_row = rows.Row(active);
        const double va = active_row.value;
        const double vr = rows.Row(reactive).value;
        const int64_t status = CarriesStatusBit(active_row.status) ? kStatusBit : 0;
        sink.Add(ComputeMember(pair.active, par_number, stamp, va, vr, status, rcv_stamp, factors));
        sink.Add(ComputeMember(pair.reactive, par_number, stamp, va, vr, status, rcv_stamp, factors));
    }
}

void DefinedFormula::ProcessPass(PassWindow& window, TlResultSet* set, DateTime rcv_stamp, ResultSink& sink) {
    if (set == nullptr) {
        return;
    }
    ResultReader probe(set);
    probe.First();
    if (probe.Eof()) {
        return; // an empty answer need not have the data's fields
    }
    // The set may still be filling: each stamp is computed as soon as its rows are there.
    IntervalDataReader reader(set);
    window.begin = reader.StampStart(window.begin);
    // Results exist only where rows do: the stamps that can read no row are passed over at once,
    // so that a window reaching far past the data (an end in 9999) costs nothing.
    for (;;) {
        ThrowIfInterrupted(interrupt_flag_);
        rows_.Clear();
        reader.ReadAtStamp(window.begin, rows_);
        if (!rows_.Empty()) {
            ComputeStamp(window.pass, window.begin, rows_, rcv_stamp, sink);
        }
        const std::optional<int64_t> next = reader.NextReadableMs(window.begin);
        if (!next.has_value() || !NextStamp(window) || !SkipTo(window, *next)) {
            return;
        }
    }
}

} // namespace tl
