#include "tldemo/formula_task.hpp"

#include "tldemo/demo_task.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <fmt/format.h>

namespace tl::demo {
namespace {

constexpr int kArbitraryFormula = 1;

// The energy of one of the element's channels in the interval.
std::string Energy(const NetworkElement& element, int32_t item) {
    return fmt::format("W2(${:X}, 0, {})", element.device_code, item);
}

// The state condition after the losses: zeros while the state holds. It comes last because the
// collection pass runs every formula once with every state reading 0: whatever a formula reads
// behind a state test would never be asked for.
std::string StateGuard(const NetworkElement& element) {
    if (!element.not_calc_state) {
        return {};
    }
    const StateCondition& state = *element.not_calc_state;
    const std::string asked = state.type == 97 ? fmt::format("DI(${:X}, {})", state.object_code, state.item)
                                               : fmt::format("MO({})", state.object_code);
    return fmt::format("\r\nif {} = {} then begin\r\n"
                       "  %Result0% := 0; %Result1% := 0;\r\n"
                       "end",
                       asked, state.value);
}

std::string Losses(const NetworkElement& element) {
    const std::string active = Energy(element, element.active_item);
    const std::string cosf = fmt::format("CosPhi({}, {})", active, Energy(element, element.reactive_item));
    if (const auto* line = std::get_if<LineCoefficients>(&element.coefficients)) {
        return fmt::format("Line_LossesW_A({}, {}, 0, CurrentKA({} / T, Ua(${:X}, 99, 0), {}), 0, 0)",
                           line->length_km, line->r0, active, element.device_code, cosf);
    }
    const auto& transformer = std::get<TransformerCoefficients>(element.coefficients);
    return fmt::format("T2_LossesW_A({}, {}, {}, {}, 0, {})", transformer.pxx, transformer.pkz,
                       transformer.s_nominal, cosf, active);
}

} // namespace

std::string FormulaCommonScript() {
    return "// Power factor from the energies of the active and the reactive channel.\r\n"
           "function CosPhi(Wa, Wr: Float): Float;\r\n"
           "begin\r\n"
           "  if Wa > 0 then Result := Wa / Sqrt(Wa * Wa + Wr * Wr) else Result := 0;\r\n"
           "end;\r\n"
           "\r\n"
           "// Line current in kA from the average power (kW) and the phase voltage (kV).\r\n"
           "function CurrentKA(Pavg, Uphase, Cosf: Float): Float;\r\n"
           "begin\r\n"
           "  if (Uphase > 0) and (Cosf > 0) then Result := Pavg / (3 * Uphase * Cosf) / 1000\r\n"
           "  else Result := 0;\r\n"
           "end;\r\n"
           "\r\n"
           "// Losses as a share of the energy, per cent.\r\n"
           "function Share(Losses, Energy: Float): Float;\r\n"
           "begin\r\n"
           "  if Energy > 0 then Result := Losses / Energy * 100 else Result := 0;\r\n"
           "end;";
}

std::string ElementFormula(const NetworkElement& element) {
    return fmt::format("%Result0% := {};\r\n%Result1% := Share(%Result0%, {});{}", Losses(element),
                       Energy(element, element.active_item), StateGuard(element));
}

void ConfigureFormulaTask(TSvcConfig& config, const Scenario& scenario, const std::string& task_key) {
    settings::TaskSettingsModel model(task_key);
    model.Load(config, Today());
    settings::TaskSettings& s = model.Settings();
    s.method = kArbitraryFormula;
    s.common_script = FormulaCommonScript();
    SetScenarioPeriod(s, scenario);
    for (const NetworkElement& element : scenario.network.elements) {
        settings::ElementRecord& entry = model.AddElement(
            kArbitraryFormula, {element.device_code, kFormulaElementType, element.active_item});
        TMethod2Obj formula;
        formula.Formula = ElementFormula(element);
        entry.params->Assign(formula);
        entry.changed = true;
    }
    model.Save(config);
}

} // namespace tl::demo
