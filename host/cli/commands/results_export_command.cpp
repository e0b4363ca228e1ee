// tlhost results export: the losses stored for a task's elements (or for elements named on the
// command line) as CSV with readable dates.
#include "commands/builtin_commands.hpp"
#include "commands/date_option.hpp"
#include "file_io.hpp"
#include "host_context.hpp"
#include "tlexchange/interval_kinds.hpp"
#include "tlexchange/stored_results.hpp"
#include "tlexchange/task_catalogue.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlsettings/element_key.hpp"

#include <fmt/format.h>

namespace tl::host {
namespace {

std::string IntervalCheck(std::string& text) {
    return exchange::FindIntervalKind(text) != nullptr
               ? std::string()
               : fmt::format("unknown interval kind \"{}\"; one of {}, or a (result) parameter number", text,
                             exchange::IntervalKindNames());
}

std::string ElementCheck(std::string& text) {
    return settings::ParseElementKey(text)
               ? std::string()
               : "an element is object.type.item in decimal, e.g. 100.0.5: " + text;
}

class ResultsExportCommand : public Command {
public:
    std::string Path() const override { return "results export"; }
    std::string Description() const override {
        return "Write the stored losses of tasks' elements as CSV (parameter, object, type, item, date, "
               "season, "
               "value0, value1, status), filtered by interval kind and period";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_keys_,
                           "tasks whose elements are exported, e.g. '\\Scripts\\Demo\\'");
        command.add_option("--element", elements_, "an element object.type.item, also without a task")
            ->check(CLI::Validator(ElementCheck, "ELEMENT"));
        command
            .add_option("--interval", intervals_,
                        fmt::format("interval kinds ({}) or parameter numbers (12, 30012); default: all",
                                    exchange::IntervalKindNames()))
            ->check(CLI::Validator(IntervalCheck, "KIND"));
        AddDateOption(command, "--from", from_, "first date-time exported");
        AddDateOption(command, "--to", to_, "last date-time exported");
        command.add_option("-o,--output", output_, "file to write (default: standard output)");
    }
    int Run(HostContext& context) override {
        if (task_keys_.empty() && elements_.empty()) {
            throw HostError("name a task (TASKKEY) or elements (--element)");
        }
        std::vector<std::string> keys;
        for (const std::string& key : task_keys_) {
            keys.push_back(NormalizeTaskKey(key));
        }
        context.OpenDatabase();
        exchange::ResultFilter filter;
        TSvcConfig config{std::string(kScheduleStorage)};
        for (const std::string& key : keys) {
            if (!exchange::TaskExists(config, key)) {
                throw HostError(fmt::format("there is no task {} (see \"tlhost tasks\")", key));
            }
            const auto elements = exchange::TaskElements(config, key);
            filter.elements.insert(filter.elements.end(), elements.begin(), elements.end());
        }
        for (const std::string& text : elements_) {
            const auto address = settings::ParseElementKey(text);
            filter.elements.push_back({address->object_code, address->element_type, address->item});
        }
        for (const std::string& text : intervals_) {
            filter.result_par_numbers.push_back(exchange::FindIntervalKind(text)->result_par_number);
        }
        filter.from = from_.empty() ? std::nullopt : ParseDateOption(from_);
        filter.to = to_.empty() ? std::nullopt : ParseDateOption(to_);
        std::vector<exchange::StoredResult> results;
        {
            auto lock = tl::db::LockProcessConnection();
            results = exchange::ReadStoredResults(*tl::db::ProcessConnection(), filter);
        }
        WriteOutputFile(output_, exchange::ResultsCsv(results));
        if (!output_.empty() && output_ != "-") {
            fmt::print(stderr, "{}: {} rows\n", output_, results.size());
        }
        return 0;
    }

private:
    std::vector<std::string> task_keys_;
    std::vector<std::string> elements_;
    std::vector<std::string> intervals_;
    std::string from_;
    std::string to_;
    std::string output_;
};

} // namespace

std::unique_ptr<Command> MakeResultsExportCommand() {
    return std::make_unique<ResultsExportCommand>();
}

} // namespace tl::host
