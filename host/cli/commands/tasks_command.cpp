// tlhost tasks: the tasks of the settings store with their method, element count and period; and
// copying, renaming and deleting a task's settings.
#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tlexchange/task_catalogue.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace tl::host {
namespace {

using Json = nlohmann::ordered_json;

Json PeriodJson(const exchange::TaskPeriodSettings& period) {
    if (period.interval_type == 1) {
        return {{"type", "fixed"},
                {"begin", FormatIsoDateTime(period.begin)},
                {"end", FormatIsoDateTime(period.end)}};
    }
    return {{"type", "depth"}, {"hours", period.depth_hours}};
}

Json TaskJson(const exchange::TaskSummary& task) {
    Json json = {{"task_key", task.key},
                 {"scenario", task.scenario},
                 {"ready", task.ready},
                 {"method", task.method},
                 {"method_name", exchange::MethodName(task.method)},
                 {"elements", task.elements},
                 {"period", PeriodJson(task.period)},
                 {"additional", nullptr}};
    if (task.additional) {
        json["additional"] = {{"parameter_index", task.additional_index},
                              {"parameter_name", exchange::AdditionalParameterName(task.additional_index)},
                              {"period", PeriodJson(task.additional_period)}};
    }
    return json;
}

std::string PeriodText(const exchange::TaskSummary& task) {
    std::string text = exchange::DescribePeriod(task.period);
    if (task.additional) {
        text += fmt::format("; additional index {}: {}", task.additional_index,
                            exchange::DescribePeriod(task.additional_period));
    }
    return text;
}

class TasksCommand : public Command {
public:
    std::string Path() const override { return "tasks"; }
    std::string Description() const override {
        return "List the tasks with their method, element count and period; copy, rename or delete a task's "
               "settings";
    }
    void AddOptions(CLI::App& command) override {
        command_ = &command;
        command.add_flag("--json", json_, "one JSON document on standard output");
        copy_ = command.add_subcommand("copy", "Copy a task's settings under another task key");
        rename_ = command.add_subcommand("rename", "Give a task's settings another task key");
        for (CLI::App* sub : {copy_, rename_}) {
            sub->add_option("FROM", from_, "the task, e.g. '\\Scripts\\Demo\\'")->required();
            sub->add_option("TO", to_, "the new task key")->required();
            sub->add_flag("--force", force_, "replace a task that has the new key");
        }
        delete_ = command.add_subcommand("delete", "Delete a task's settings (its stored losses stay)");
        delete_->add_option("TASKKEY", from_, "the task")->required();
    }
    int Run(HostContext& context) override {
        if (copy_->parsed() || rename_->parsed() || delete_->parsed()) {
            return Change(context);
        }
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        std::vector<exchange::TaskSummary> tasks;
        for (const std::string& key : exchange::ListTaskKeys(config)) {
            tasks.push_back(exchange::SummarizeTask(config, key));
        }
        if (json_) {
            Json list = Json::array();
            for (const auto& task : tasks) {
                list.push_back(TaskJson(task));
            }
            fmt::print("{}\n", list.dump(2));
            return 0;
        }
        if (tasks.empty()) {
            fmt::print(stderr, "no tasks in {}\n", context.Options().database);
            return 0;
        }
        size_t width = 4;
        for (const auto& task : tasks) {
            width = std::max(width, task.key.size());
        }
        fmt::print("{:<{}}  METHOD  ELEMENTS  PERIOD\n", "TASK", width);
        for (const auto& task : tasks) {
            fmt::print("{:<{}}  {:<6}  {:>8}  {}{}\n", task.key, width, task.method, task.elements,
                       PeriodText(task), task.ready ? "" : "  (settings incomplete: the run refuses it)");
        }
        return 0;
    }

private:
    int Change(HostContext& context) {
        const std::string from = NormalizeTaskKey(from_);
        const std::string to = delete_->parsed() ? std::string() : NormalizeTaskKey(to_);
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        try {
            if (copy_->parsed()) {
                exchange::CopyTask(config, from, to, force_);
                fmt::print("{} copied to {}\n", from, to);
            } else if (rename_->parsed()) {
                exchange::RenameTask(config, from, to, force_);
                fmt::print("{} renamed to {}\n", from, to);
            } else {
                exchange::DeleteTask(config, from);
                fmt::print("{} deleted\n", from);
            }
        } catch (const exchange::TaskError& e) {
            throw HostError(e.what());
        }
        return 0;
    }

    CLI::App* command_ = nullptr;
    CLI::App* copy_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    bool json_ = false;
    bool force_ = false;
    std::string from_;
    std::string to_;
};

} // namespace

std::unique_ptr<Command> MakeTasksCommand() {
    return std::make_unique<TasksCommand>();
}

} // namespace tl::host
