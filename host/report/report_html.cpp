#include "tlreport/report_html.hpp"

#include "report_script.hpp"
#include "tlcommon/iso_date_time.hpp"

#include <fmt/format.h>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tl::report {
namespace {

using Json = nlohmann::ordered_json;

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Address(const ElementAddress& a) {
    return fmt::format("{}.{}.{}", a.object, a.type, a.item);
}

std::string Label(const ReportElement& element) {
    return element.name.empty() ? Address(element.address) : Address(element.address) + " " + element.name;
}

// Stamps of a day or longer are dates.
std::string StampText(const exchange::IntervalKind& kind, DateTime stamp) {
    const std::string text = FormatIsoDateTime(stamp);
    return kind.pass >= 9 ? text.substr(0, 10) : text.substr(0, 16);
}

std::string Number(double value) {
    return fmt::format("{:.3f}", value);
}

double Total(const std::optional<StoredValue>& v) {
    return v ? v->value0 + v->value1 : 0.0;
}

void SettingsSection(std::string& html, const TaskReport& task) {
    const exchange::TaskSummary& s = task.summary;
    html += "<h3>Settings</h3>\n<ul>\n";
    html += fmt::format("<li>Method {}: {}</li>\n", s.method, Escape(exchange::MethodName(s.method)));
    html += fmt::format("<li>Period: {}</li>\n", s.period.interval_type == 1
                                                     ? "fixed, " + exchange::DescribePeriod(s.period)
                                                     : exchange::DescribePeriod(s.period));
    if (s.additional) {
        html += fmt::format("<li>Additional parameter: {}, period {}</li>\n",
                            Escape(exchange::AdditionalParameterName(s.additional_index)),
                            exchange::DescribePeriod(s.additional_period));
    } else {
        html += "<li>Additional parameter: none (the 30-minute power and the longer intervals only)</li>\n";
    }
    html += fmt::format("<li>{} elements{}</li>\n", task.elements.size(),
                        s.ready ? "" : "; the settings lack what a run needs, so the task does not run");
    if (task.from || task.to) {
        html += fmt::format("<li>This report covers {} .. {}</li>\n",
                            task.from ? FormatIsoDateTime(*task.from) : "the first stored row",
                            task.to ? FormatIsoDateTime(*task.to) : "the last stored row");
    }
    html += "</ul>\n";
    if (!task.common_script.empty()) {
        html += "<p>Common script:</p>\n<pre>" + Escape(task.common_script) + "</pre>\n";
    }
}

void ElementsSection(std::string& html, const TaskReport& task) {
    html += "<h3>Elements</h3>\n<table>\n<tr><th>Element</th><th>Name</th><th>";
    html += task.summary.method == 1 ? "Formula" : "Coefficients";
    html += "</th></tr>\n";
    for (const ReportElement& element : task.elements) {
        html += fmt::format("<tr><td>{}</td><td>{}</td><td>", Address(element.address), Escape(element.name));
        if (task.summary.method == 1 || element.words.empty()) {
            html += "<pre>" + Escape(element.record) + "</pre>";
        } else {
            for (const std::string& line : element.words) {
                html += Escape(line) + "<br>";
            }
        }
        html += "</td></tr>\n";
    }
    html += "</table>\n";
}

void IncompleteSection(std::string& html, const TaskReport& task) {
    html += "<h3>Elements not fully computed</h3>\n";
    if (task.incomplete.empty()) {
        html += "<p>Every element has stored losses at every interval of every kind shown.</p>\n";
        return;
    }
    html += "<table class=\"incomplete\">\n<tr><th>Element</th><th>Name</th><th>What is missing</th></tr>\n";
    for (const IncompleteElement& entry : task.incomplete) {
        std::string name;
        for (const ReportElement& element : task.elements) {
            if (element.address == entry.address) {
                name = element.name;
            }
        }
        html += fmt::format("<tr><td>{}</td><td>{}</td><td>{}</td></tr>\n", Address(entry.address),
                            Escape(name), Escape(entry.reason));
    }
    html += "</table>\n";
}

void KindSection(std::string& html, Json& charts, const TaskReport& task, const KindLosses& kind,
                 const std::string& chart_id) {
    html += fmt::format("<h3>{} (parameter {})</h3>\n", kind.kind.title, kind.kind.result_par_number);
    html += fmt::format("<p class=\"meta\">{} intervals from {} to {}</p>\n", kind.stamps.size(),
                        StampText(kind.kind, kind.stamps.front()), StampText(kind.kind, kind.stamps.back()));
    html += fmt::format(
        "<div class=\"charts\"><figure><div class=\"chart-line\"><canvas id=\"{0}-line\"></canvas>"
        "</div><figcaption>Losses per interval (Value0 + Value1)</figcaption></figure>"
        "<figure><div class=\"chart-share\"><canvas id=\"{0}-share\"></canvas></div>"
        "<figcaption>Share of each element in the total</figcaption></figure></div>\n",
        chart_id);

    Json chart = {{"id", chart_id}, {"labels", Json::array()}, {"series", Json::array()}};
    for (const DateTime stamp : kind.stamps) {
        chart["labels"].push_back(StampText(kind.kind, stamp));
    }
    std::vector<double> totals(task.elements.size(), 0.0);
    double grand_total = 0;
    for (size_t e = 0; e < task.elements.size(); ++e) {
        Json values = Json::array();
        for (const auto& v : kind.values[e]) {
            values.push_back(v ? Json(v->value0 + v->value1) : Json(nullptr));
            totals[e] += Total(v);
        }
        grand_total += totals[e];
        chart["series"].push_back({{"label", Address(task.elements[e].address)},
                                   {"name", Label(task.elements[e])},
                                   {"values", values},
                                   {"total", totals[e]}});
    }
    charts.push_back(std::move(chart));

    html += "<table>\n<tr><th>Element</th><th>Name</th><th>Intervals</th><th>Sum of Value0</th>"
            "<th>Sum of Value1</th><th>Total</th><th>Share</th><th>Largest interval</th></tr>\n";
    for (size_t e = 0; e < task.elements.size(); ++e) {
        double value0 = 0;
        double value1 = 0;
        double largest = 0;
        size_t count = 0;
        for (const auto& v : kind.values[e]) {
            if (v) {
                value0 += v->value0;
                value1 += v->value1;
                largest = std::max(largest, v->value0 + v->value1);
                ++count;
            }
        }
        html += fmt::format("<tr><td>{}</td><td>{}</td><td class=\"n\">{}</td><td class=\"n\">{}</td>"
                            "<td class=\"n\">{}</td><td class=\"n\">{}</td><td class=\"n\">{:.1f} %</td>"
                            "<td class=\"n\">{}</td></tr>\n",
                            Address(task.elements[e].address), Escape(task.elements[e].name), count,
                            Number(value0), Number(value1), Number(totals[e]),
                            grand_total > 0 ? 100.0 * totals[e] / grand_total : 0, Number(largest));
    }
    html += "</table>\n";

    html +=
        fmt::format("<details><summary>Stored values, {} intervals (Value0 / Value1; * marks the status bit "
                    "0x40000, - no row)</summary>\n<table>\n<tr><th>Interval</th>",
                    kind.stamps.size());
    for (const ReportElement& element : task.elements) {
        html += fmt::format("<th>{}</th>", Address(element.address));
    }
    html += "</tr>\n";
    for (size_t s = 0; s < kind.stamps.size(); ++s) {
        html += fmt::format("<tr><td>{}</td>", StampText(kind.kind, kind.stamps[s]));
        for (size_t e = 0; e < task.elements.size(); ++e) {
            const auto& v = kind.values[e][s];
            html += v ? fmt::format("<td class=\"n\">{} / {}{}</td>", Number(v->value0), Number(v->value1),
                                    v->status_bit ? " *" : "")
                      : std::string("<td class=\"n\">-</td>");
        }
        html += "</tr>\n";
    }
    html += "</table>\n</details>\n";
}

} // namespace

std::string RenderReport(const std::vector<TaskReport>& tasks, const PageInfo& page) {
    if (page.chart_js.find("</script") != std::string::npos) {
        throw std::invalid_argument("the charting script holds \"</script\" and cannot be embedded");
    }
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    std::string title = "Loss report";
    for (size_t t = 0; t < tasks.size(); ++t) {
        title += (t == 0 ? ": " : ", ") + tasks[t].summary.scenario;
    }
    html += "<title>" + Escape(title) + "</title>\n<style>" + std::string(kReportStyle) + "</style>\n";
    html += "<script>\n" + page.chart_js + "\n</script>\n</head>\n<body>\n";
    html += "<h1>" + Escape(title) + "</h1>\n";
    html += fmt::format("<p class=\"meta\">Database {}, written {} by tlhost report. Values are the stored "
                        "results: Value0 the line losses (method 1: the formula's first result), Value1 the "
                        "transformer losses (the second result).</p>\n",
                        Escape(page.database), Escape(page.generated));
    Json charts = Json::array();
    for (size_t t = 0; t < tasks.size(); ++t) {
        const TaskReport& task = tasks[t];
        html += fmt::format("<section id=\"task-{}\">\n<h2>Task {}</h2>\n", t, Escape(task.summary.key));
        SettingsSection(html, task);
        IncompleteSection(html, task);
        if (task.kinds.empty()) {
            html += "<p>No stored losses of these elements in the period.</p>\n";
        }
        for (const KindLosses& kind : task.kinds) {
            KindSection(html, charts, task, kind, fmt::format("chart-{}-{}", t, kind.kind.pass));
        }
        ElementsSection(html, task);
        html += "</section>\n";
    }
    std::string data = Json{{"charts", charts}}.dump();
    // Inside a script element "</" must not appear; JSON allows "<\/" for it.
    for (size_t at = data.find("</"); at != std::string::npos; at = data.find("</", at + 3)) {
        data.replace(at, 2, "<\\/");
    }
    html += "<script type=\"application/json\" id=\"report-data\">" + data + "</script>\n";
    html += "<script>" + std::string(kReportScript) + "</script>\n</body>\n</html>\n";
    return html;
}

} // namespace tl::report
