#include "tldialogs/grid_rows.hpp"

#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"

#include <fmt/format.h>

namespace tl::dialogs {
namespace {

constexpr GridColumn kCoefficientColumns[] = {
    {1, "SecondarySensor", "Вторичный канал", 65},
    {1, "r0", "r0 (Ом/км)", 60},
    {1, "l", "l (км)", 60},
    {1, "UWork", "Up (кВ)", 60},
    {1, "UNominal", "Uном (кВ)", 60},
    {1, "Wkor", "Wкор", 60},
    {1, "Wiz", "Wиз", 60},
    {2, "Pxx", "Px.x", 60},
    {2, "Pkz", "Pк.з", 60},
    {2, "Ixx", "Ix.x.%", 60},
    {2, "Ukz", "Uк.з.%", 60},
    {2, "Strnom", "Sтр.ном", 60},
    {3, "MO_DI", "ОИ / ДВ", 60},
    {3, "State", "Состояние", 60},
};
constexpr GridColumn kFormulaColumns[] = {{1, "Formula", "Формула", 275}};

constexpr std::string_view kEmptyCell = "---";
constexpr int32_t kMeasurementObject = 95;
constexpr int32_t kCoronaVoltage = 110;

std::string NonNegative(double value) {
    return value >= 0 ? FormatFixed(value, 2) : std::string();
}

std::string Positive(int32_t value) {
    return value > 0 ? std::to_string(value) : std::string();
}

std::string OneLine(std::string_view text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            line.push_back(' ');
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line.push_back(text[i]);
        }
    }
    return line;
}

void CoefficientCells(const TMethod1Obj& r, const settings::ElementRecord& element,
                      const ElementCatalogue& catalogue, RowCells& cells) {
    cells.band_on = {r.InLine, r.InTransf, r.NotCalcState};
    std::string secondary;
    if (r.SecondarySensor >= 1) {
        const ElementAddress address{element.address.object_code, element.address.element_type,
                                     r.SecondarySensor};
        const CatalogueEntry* entry = catalogue.Find(address);
        secondary = fmt::format("({}) {}", r.SecondarySensor, entry != nullptr ? entry->name : std::string());
    }
    std::vector<std::string> line(6), transformer(5), state(2);
    if (r.InLine) {
        line = {NonNegative(r.r0),
                NonNegative(r.l),
                Positive(r.UWork),
                Positive(r.UNominal),
                r.UWork >= kCoronaVoltage ? FormatFixed(r.Wkor, 2) : std::string(),
                NonNegative(r.Wiz)};
    }
    if (r.InTransf) {
        transformer = {NonNegative(r.Pxx), NonNegative(r.Pkz), NonNegative(r.Ixx), NonNegative(r.Ukz),
                       NonNegative(r.Strnom)};
    }
    if (r.NotCalcState) {
        // StateObjText and StateText hold the names of the linked object and of its state.
        if (r.StateObjType == kMeasurementObject) {
            state = {fmt::format("ОИ: ({}) {}", r.StateObjCode, r.StateObjText),
                     fmt::format("({}) {}", r.StateValue, r.StateText)};
        } else {
            state = {fmt::format("ДВ: (${}.{}) {}", Hex4(r.StateObjCode), r.StateItem, r.StateObjText),
                     r.StateValue != 0 ? "Включен" : "Выключен"};
        }
    }
    const std::array<const std::vector<std::string>*, 3> bands = {&line, &transformer, &state};
    cells.values.push_back(secondary);
    for (size_t band = 0; band < bands.size(); ++band) {
        for (const std::string& value : *bands[band]) {
            cells.values.push_back(cells.band_on[band] && value.empty() ? std::string(kEmptyCell) : value);
        }
    }
}

} // namespace

std::span<const GridColumn> MethodColumns(int method) {
    if (method == 0) {
        return kCoefficientColumns;
    }
    return kFormulaColumns;
}

RowCells CellsOf(const settings::ElementRecord& element, const ElementCatalogue& catalogue, int method) {
    RowCells cells;
    const CatalogueEntry* entry = catalogue.Find(element.address);
    cells.object = ElementCaption(element.address, entry);
    if (const auto* coefficients = dynamic_cast<const TMethod1Obj*>(element.params.get()); method == 0) {
        const std::optional<int32_t> kind = entry != nullptr ? entry->kind : std::nullopt;
        cells.loss_type = !kind || *kind < 0 || *kind > 3 ? "не задано"
                          : *kind < 2                     ? "Активные"
                                                          : "Реактивные";
        if (coefficients != nullptr) {
            CoefficientCells(*coefficients, element, catalogue, cells);
        }
    } else if (const auto* formula = dynamic_cast<const TMethod2Obj*>(element.params.get())) {
        cells.band_on = {true, false, false};
        cells.values.push_back(OneLine(formula->Formula));
    }
    return cells;
}

} // namespace tl::dialogs
