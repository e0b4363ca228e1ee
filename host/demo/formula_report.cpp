// The losses the formula task stored, in the loss table's rows.
#include "tldemo/formula_task.hpp"
#include "tldemo/loss_report.hpp"

#include <fmt/format.h>

namespace tl::demo {

std::vector<LossRow> ReadFormulaLosses(tl::db::Connection& connection, const Network& network) {
    LossSums sums;
    const TlVariant type{TL_VT_INT32, {.i32 = kFormulaElementType}};
    const auto set =
        connection.Query("select parnumber, object, item, count(*) as n, sum(value0) as v0 from data "
                         "where parnumber between 30000 and 39999 and objtype = :t "
                         "group by parnumber, object, item",
                         {&type, 1});
    for (set->First(); !set->Eof(); set->Next()) {
        sums[{set->AsInteger(0), set->AsInteger(1), set->AsInteger(2)}] = {set->AsDouble(4), set->AsInt64(3)};
    }
    std::vector<LossRow> rows;
    for (const NetworkElement& element : network.elements) {
        LossRow row;
        row.object = element.device_code;
        row.type = kFormulaElementType;
        row.item = element.active_item;
        row.name = fmt::format("{} (формула)", element.name);
        FillCells(row, sums);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace tl::demo
