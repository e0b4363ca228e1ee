#include "tldemo/network.hpp"

namespace tl::demo {
namespace {

// The record keeps two decimals; the smallest value a complete line record accepts.
constexpr double kSmallestKept = 0.01;

} // namespace

TMethod1Obj ChannelRecord(const NetworkElement& element, bool active) {
    TMethod1Obj record;
    record.SensorType = active ? kActiveDelivered : kReactiveDelivered;
    record.SecondarySensorType = active ? kReactiveDelivered : kActiveDelivered;
    record.SecondarySensor = active ? element.reactive_item : element.active_item;
    record.InLine = element.IsLine();
    record.InTransf = !element.IsLine();
    if (const auto* line = std::get_if<LineCoefficients>(&element.coefficients)) {
        // The reactive channel's load losses come from the line's reactance; corona and insulator
        // losses are active only, so its record keeps them at the least a complete record allows.
        record.r0 = active ? line->r0 : line->x0;
        record.l = line->length_km;
        record.Wkor = active || line->wkor <= 0 ? line->wkor : kSmallestKept;
        record.WkorMode = 0;
        record.Wiz = active ? line->wiz : kSmallestKept;
        record.UWork = line->u_work;
        record.UNominal = line->u_nominal;
    } else {
        const auto& transformer = std::get<TransformerCoefficients>(element.coefficients);
        record.Pxx = transformer.pxx;
        record.Pkz = transformer.pkz;
        record.Ixx = transformer.ixx;
        record.Ukz = transformer.ukz;
        record.Strnom = transformer.s_nominal;
    }
    if (element.not_calc_state) {
        const StateCondition& state = *element.not_calc_state;
        record.NotCalcState = true;
        record.StateValue = state.value;
        record.StateObjCode = state.object_code;
        record.StateObjType = state.type;
        record.StateItem = state.item;
        record.StateObjText = state.object_text;
        record.StateText = state.state_text;
    }
    return record;
}

} // namespace tl::demo
