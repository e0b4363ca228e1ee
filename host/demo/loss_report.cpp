#include "tldemo/loss_report.hpp"

#include "tldemo/metering_writer.hpp"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <map>
#include <tuple>

namespace tl::demo {
namespace {

constexpr std::array<std::string_view, kReportParNumbers.size()> kColumnTitles = {
    "5 мин", "30 мин", "час", "сутки", "месяц", "квартал", "год"};

// Width of a UTF-8 text in code points.
size_t Width(std::string_view text) {
    return static_cast<size_t>(
        std::ranges::count_if(text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string PadRight(std::string_view text, size_t width) {
    return fmt::format("{}{}", text, std::string(width - std::min(width, Width(text)), ' '));
}

std::string PadLeft(std::string_view text, size_t width) {
    return fmt::format("{}{}", std::string(width - std::min(width, Width(text)), ' '), text);
}

std::string FormatValue(const LossCell& cell) {
    if (cell.rows == 0) {
        return "—";
    }
    return std::abs(cell.sum) < 1e9 ? fmt::format("{:.1f}", cell.sum) : fmt::format("{:.3e}", cell.sum);
}

} // namespace

void FillCells(LossRow& row, const LossSums& sums) {
    for (size_t c = 0; c < kReportParNumbers.size(); ++c) {
        const auto found = sums.find({kReportParNumbers[c], row.object, row.item});
        if (found != sums.end()) {
            row.cells[c] = found->second;
        }
    }
}

std::vector<LossRow> ReadStoredLosses(tl::db::Connection& connection, const Network& network) {
    LossSums line_sums;
    LossSums transformer_sums;
    const auto set = connection.Query(
        "select parnumber, object, item, count(*) as n, sum(value0) as v0, sum(value1) as v1 from data "
        "where parnumber between 30000 and 39999 and objtype = 0 group by parnumber, object, item",
        {});
    for (set->First(); !set->Eof(); set->Next()) {
        const LossSums::key_type key{set->AsInteger(0), set->AsInteger(1), set->AsInteger(2)};
        const int64_t n = set->AsInt64(3);
        line_sums[key] = {set->AsDouble(4), n};
        transformer_sums[key] = {set->AsDouble(5), n};
    }
    std::vector<LossRow> rows;
    for (const NetworkElement& element : network.elements) {
        for (const bool active : {true, false}) {
            LossRow row;
            row.object = element.device_code;
            row.item = active ? element.active_item : element.reactive_item;
            row.name = ChannelName(element, active);
            row.active = active;
            FillCells(row, element.IsLine() ? line_sums : transformer_sums);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::string FormatLossTable(const std::vector<LossRow>& rows) {
    std::vector<std::string> labels;
    size_t label_width = Width("Канал");
    for (const LossRow& row : rows) {
        labels.push_back(fmt::format("{}.{}.{} {}, {}", row.object, row.type, row.item, row.name,
                                     row.active ? "кВт·ч" : "квар·ч"));
        label_width = std::max(label_width, Width(labels.back()));
    }
    std::array<size_t, kReportParNumbers.size()> widths{};
    for (size_t c = 0; c < widths.size(); ++c) {
        widths[c] = Width(kColumnTitles[c]);
        for (const LossRow& row : rows) {
            widths[c] = std::max(
                {widths[c], Width(FormatValue(row.cells[c])), Width(fmt::format("{}", row.cells[c].rows))});
        }
    }
    std::string text = PadRight("Канал", label_width);
    for (size_t c = 0; c < widths.size(); ++c) {
        text += "  " + PadLeft(kColumnTitles[c], widths[c]);
    }
    text += '\n';
    for (size_t r = 0; r < rows.size(); ++r) {
        std::string values = PadRight(labels[r], label_width);
        std::string counts = PadRight("  строк", label_width);
        for (size_t c = 0; c < widths.size(); ++c) {
            values += "  " + PadLeft(FormatValue(rows[r].cells[c]), widths[c]);
            counts += "  " + PadLeft(fmt::format("{}", rows[r].cells[c].rows), widths[c]);
        }
        text += values + '\n' + counts + '\n';
    }
    return text;
}

} // namespace tl::demo
