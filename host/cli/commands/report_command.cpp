// tlhost report: one self-contained HTML page of tasks' stored losses, with charts.
#include "commands/builtin_commands.hpp"
#include "commands/date_option.hpp"
#include "file_io.hpp"
#include "host_context.hpp"
#include "tlexchange/interval_kinds.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlreport/report_html.hpp"

#include <filesystem>
#include <fmt/format.h>

#ifndef TLHOST_CHART_JS
#define TLHOST_CHART_JS "/usr/share/javascript/chart.js/chart.min.js"
#endif

namespace tl::host {
namespace {

class ReportCommand : public Command {
public:
    std::string Path() const override { return "report"; }
    std::string Description() const override {
        return "Write one self-contained HTML page with tasks' stored losses per element and interval kind "
               "(tables and charts), their settings in words and the elements not fully computed";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_keys_, "tasks to report, e.g. '\\Scripts\\Demo\\'")->required();
        command.add_option("-o,--output", output_, "HTML file to write (default: standard output)");
        command
            .add_option(
                "--interval", intervals_,
                fmt::format("interval kinds to show ({}); default: all", exchange::IntervalKindNames()))
            ->check(CLI::Validator(
                [](std::string& text) {
                    return exchange::FindIntervalKind(text) != nullptr ? std::string()
                                                                       : "unknown interval kind: " + text;
                },
                "KIND"));
        AddDateOption(command, "--from", from_, "first interval shown");
        AddDateOption(command, "--to", to_, "last interval shown");
        command.add_option("--chart-js", chart_js_, "Chart.js 3 script embedded in the page")
            ->envname("TLHOST_CHART_JS")
            ->capture_default_str();
    }
    int Run(HostContext& context) override {
        std::vector<std::string> keys;
        for (const std::string& key : task_keys_) {
            keys.push_back(NormalizeTaskKey(key));
        }
        report::PageInfo page;
        try {
            page.chart_js = ReadInputFile(chart_js_);
        } catch (const HostError& e) {
            throw HostError(
                fmt::format("{}; the charts need Chart.js 3 (Debian: apt-get install libjs-chart.js) "
                            "or --chart-js PATH",
                            e.what()));
        }
        report::ReportFilter filter;
        for (const std::string& text : intervals_) {
            filter.result_par_numbers.push_back(exchange::FindIntervalKind(text)->result_par_number);
        }
        filter.from = from_.empty() ? std::nullopt : ParseDateOption(from_);
        filter.to = to_.empty() ? std::nullopt : ParseDateOption(to_);
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        std::vector<report::TaskReport> tasks;
        {
            auto lock = tl::db::LockProcessConnection();
            tl::db::Connection& connection = *tl::db::ProcessConnection();
            for (const std::string& key : keys) {
                if (!exchange::TaskExists(config, key)) {
                    throw HostError(fmt::format("there is no task {} (see \"tlhost tasks\")", key));
                }
                tasks.push_back(report::ReadTaskReport(config, connection, key, filter));
            }
            page.database = connection.Uri();
        }
        page.generated = FormatIsoDateTime(Now()).substr(0, 19);
        WriteOutputFile(output_, report::RenderReport(tasks, page));
        if (!output_.empty() && output_ != "-") {
            size_t kinds = 0;
            size_t incomplete = 0;
            for (const auto& task : tasks) {
                kinds += task.kinds.size();
                incomplete += task.incomplete.size();
            }
            fmt::print("{}: {} tasks, {} interval kinds, {} notes on elements not fully computed\n", output_,
                       tasks.size(), kinds, incomplete);
        }
        return 0;
    }

private:
    std::vector<std::string> task_keys_;
    std::vector<std::string> intervals_;
    std::string output_;
    std::string from_;
    std::string to_;
    std::string chart_js_ = TLHOST_CHART_JS;
};

} // namespace

std::unique_ptr<Command> MakeReportCommand() {
    return std::make_unique<ReportCommand>();
}

} // namespace tl::host
