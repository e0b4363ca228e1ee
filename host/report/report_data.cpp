#include "tlreport/report_data.hpp"

#include "tlcommon/iso_date_time.hpp"
#include "tlexchange/stored_results.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlreport/record_words.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <map>

namespace tl::report {
namespace {

constexpr int32_t kChannel = 0;
constexpr int32_t kClient = 2;

// "<device>. <channel>" of a metering channel, the name of a client; empty when the catalogue has
// none (or no catalogue tables).
std::string CatalogueName(tl::db::Connection& connection, const ElementAddress& address) {
    const TlVariant params[] = {{TL_VT_INT32, {.i32 = address.object}}, {TL_VT_INT32, {.i32 = address.item}}};
    try {
        if (address.type == kChannel) {
            auto set =
                connection.Query("select d.Name, s.Name from Sensors s join Devices d on d.id = s.StationId "
                                 "where d.Code = :code and s.Code = :item",
                                 params);
            return set->Eof() ? std::string() : set->AsText(0) + ". " + set->AsText(1);
        }
        if (address.type == kClient) {
            auto set = connection.Query("select Name from Clients where Code = :code", std::span(params, 1));
            return set->Eof() ? std::string() : set->AsText(0);
        }
    } catch (const tl::db::Error&) {
        // A database without the catalogue tables still gets its report, with addresses only.
    }
    return {};
}

// Elements whose record the run cannot take, or whose pair it cannot form.
void MarkUncalculated(std::vector<ReportElement>& elements, int32_t method) {
    if (method != 0) {
        return;
    }
    std::map<ElementAddress, const TMethod1Obj*> records;
    std::vector<TMethod1Obj> parsed(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) {
        std::string error;
        if (parsed[i].Parse(elements[i].record, &error)) {
            elements[i].words = DescribeCoefficients(parsed[i]);
            records[elements[i].address] = &parsed[i];
        } else {
            elements[i].not_calculated = "its coefficient record does not parse: " + error;
        }
    }
    for (ReportElement& element : elements) {
        const auto found = records.find(element.address);
        if (found == records.end()) {
            continue;
        }
        const ElementAddress partner{element.address.object, element.address.type,
                                     found->second->SecondarySensor};
        if (!records.contains(partner)) {
            element.not_calculated = fmt::format("its pair partner {}.{}.{} is not an element of the task",
                                                 partner.object, partner.type, partner.item);
        }
    }
}

KindLosses AlignKind(const exchange::IntervalKind& kind, const std::vector<ReportElement>& elements,
                     std::span<const exchange::StoredResult> rows) {
    KindLosses losses{kind, {}, {}};
    std::map<int64_t, size_t> stamp_index;
    for (const exchange::StoredResult& row : rows) {
        stamp_index.emplace(ToMillis(row.date), 0);
    }
    for (auto& [millis, index] : stamp_index) {
        index = losses.stamps.size();
        losses.stamps.push_back(FromMillis(millis));
    }
    std::map<ElementAddress, size_t> element_index;
    for (size_t e = 0; e < elements.size(); ++e) {
        element_index.emplace(elements[e].address, e);
    }
    losses.values.assign(elements.size(), std::vector<std::optional<StoredValue>>(losses.stamps.size()));
    for (const exchange::StoredResult& row : rows) {
        const auto e = element_index.find(row.element);
        auto& cell = losses.values[e->second][stamp_index.at(ToMillis(row.date))];
        if (!cell) { // of two rows at one stamp (both seasons) the first is shown
            cell = StoredValue{row.value0, row.value1, (row.status & 0x40000) != 0};
        }
    }
    return losses;
}

void FindIncomplete(TaskReport& report) {
    for (size_t e = 0; e < report.elements.size(); ++e) {
        const ReportElement& element = report.elements[e];
        if (!element.not_calculated.empty()) {
            report.incomplete.push_back({element.address, "not calculated: " + element.not_calculated});
            continue;
        }
        bool any = false;
        for (const KindLosses& kind : report.kinds) {
            const auto& values = kind.values[e];
            const auto missing = std::count(values.begin(), values.end(), std::nullopt);
            any = any || missing < static_cast<std::ptrdiff_t>(values.size());
            if (missing > 0) {
                const auto first = std::find(values.begin(), values.end(), std::nullopt) - values.begin();
                report.incomplete.push_back(
                    {element.address,
                     fmt::format("{}: {} of {} intervals without stored losses, the first at {}",
                                 kind.kind.title, missing, values.size(),
                                 FormatIsoDateTime(kind.stamps[static_cast<size_t>(first)]))});
            }
        }
        if (!any) {
            report.incomplete.push_back({element.address, "no stored losses in the period"});
        }
    }
}

} // namespace

TaskReport ReadTaskReport(TSvcConfig& config, tl::db::Connection& connection, std::string_view task_key,
                          const ReportFilter& filter) {
    TaskReport report;
    report.summary = exchange::SummarizeTask(config, task_key);
    report.from = filter.from;
    report.to = filter.to;
    const std::string task_section = TaskSection(ScenarioName(task_key));
    report.common_script = config.ReadString(task_section, settings::kCommonScript, "");
    const int32_t method = report.summary.method;
    std::vector<ElementAddress> addresses = exchange::TaskElements(config, task_key);
    std::sort(addresses.begin(), addresses.end());
    for (const ElementAddress& address : addresses) {
        ReportElement element;
        element.address = address;
        element.name = CatalogueName(connection, address);
        element.record =
            config.ReadString(ElementSection(task_key, method),
                              settings::ElementKey({address.object, address.type, address.item}), "");
        report.elements.push_back(std::move(element));
    }
    MarkUncalculated(report.elements, method);

    exchange::ResultFilter rows_filter{addresses, filter.result_par_numbers, filter.from, filter.to};
    const std::vector<exchange::StoredResult> rows = exchange::ReadStoredResults(connection, rows_filter);
    for (const exchange::IntervalKind& kind : exchange::IntervalKinds()) {
        const auto first = std::find_if(rows.begin(), rows.end(), [&](const exchange::StoredResult& r) {
            return r.par_number == kind.result_par_number;
        });
        const auto last = std::find_if(first, rows.end(), [&](const exchange::StoredResult& r) {
            return r.par_number != kind.result_par_number;
        });
        if (first != last) {
            report.kinds.push_back(AlignKind(kind, report.elements, std::span(first, last)));
        }
    }
    FindIncomplete(report);
    return report;
}

} // namespace tl::report
