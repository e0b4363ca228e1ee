// tlhost schedule: the task schedule kept in the database (add, remove, list) and the loop that
// runs it (run), which any number of hosts may run on one database at once.
#include "commands/builtin_commands.hpp"
#include "exit_status_help.hpp"
#include "host_context.hpp"
#include "schedule_loop.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tlexchange/task_catalogue.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/schedule_table.hpp"
#include "tlhost/task_key.hpp"

#include <charconv>
#include <fmt/format.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace tl::host {
namespace {

using Json = nlohmann::ordered_json;

// "90m", "12h", "1d" (or plain minutes) as minutes.
int ParseEvery(const std::string& text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const std::string_view unit(end, text.data() + text.size());
    const int scale = unit.empty() || unit == "m" ? 1 : unit == "h" ? 60 : unit == "d" ? 1440 : 0;
    if (error != std::errc() || scale == 0 || number < 0 || number > 366 * 1440 / scale) {
        throw UsageError(
            fmt::format("--every \"{}\": expected minutes, hours or days, e.g. 30m, 6h, 1d", text));
    }
    return number * scale;
}

std::string OptionalTime(const std::optional<DateTime>& time) {
    return time ? FormatIsoDateTime(*time) : std::string("-");
}

std::string EveryText(int minutes) {
    if (minutes == 0) {
        return "once";
    }
    return minutes % 1440 == 0 ? fmt::format("{}d", minutes / 1440)
           : minutes % 60 == 0 ? fmt::format("{}h", minutes / 60)
                               : fmt::format("{}m", minutes);
}

Json EntryJson(const ScheduleEntry& entry) {
    auto time = [](const std::optional<DateTime>& t) { return t ? Json(FormatIsoDateTime(*t)) : Json(); };
    return {{"task_key", entry.task_key},
            {"next_run", time(entry.next_run)},
            {"every_minutes", entry.every_minutes},
            {"last_run", time(entry.last_run)},
            {"last_code", entry.last_code ? Json(*entry.last_code) : Json()},
            {"last_host", entry.last_host}};
}

std::string DefaultHostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return fmt::format("{}:{}", name, getpid());
}

class ScheduleCommand : public Command {
public:
    std::string Path() const override { return "schedule"; }
    std::string Description() const override {
        return "List the task schedule kept in the database; add or remove tasks; run it (several hosts "
               "may run one schedule: each task runs on one host at a time)";
    }
    void AddOptions(CLI::App& command) override {
        command.add_flag("--json", json_, "the schedule as one JSON document on standard output");
        add_ =
            command.add_subcommand("add", "Schedule a task (again): its next run and how often it repeats");
        add_->add_option("TASKKEY", key_, "the task, e.g. '\\Scripts\\Losses1\\'")->required();
        add_->add_option("--at", at_, "local time of the next run, \"yyyy-mm-dd hh:nn[:ss]\"")->required();
        add_->add_option("--every", every_, "repeat after this long: 30m, 6h, 1d (default: run once)");
        remove_ = command.add_subcommand("remove", "Take a task off the schedule (its settings stay)");
        remove_->add_option("TASKKEY", key_, "the task")->required();
        run_ =
            command.add_subcommand("run", "Run the schedule's tasks at their times, until SIGINT or SIGTERM");
        run_->add_flag("--until-idle", loop_.until_idle,
                       "end when no task is due any more (tasks other hosts are running count as due)");
        run_->add_option("--poll", loop_.poll_seconds, "seconds between looks for due tasks while waiting")
            ->check(CLI::Range(0.01, 3600.0))
            ->capture_default_str();
        run_->add_option("--name", loop_.host_name, "this host's name in the schedule (default: HOST:PID)");
        run_->footer(
            "A host takes one due task at a time: the first whose run lock no other host holds. It runs\n"
            "it with the scheduled time as the driver's \"now\", so the periods are those of the\n"
            "scheduled time whichever host runs it and however late, then moves the task's next run on\n"
            "by its repeat (a missed run is still made) or clears it. A task stopped by SIGINT or\n"
            "SIGTERM stays due. A host that dies releases its task for the others: at once when its\n"
            "process ends, within about 25 s (TCP keepalive) when its machine or network fails; the\n"
            "task then runs again from the start on another host. Summary lines as for run.\n\n" +
            std::string(kExitStatusHelp));
    }
    int Run(HostContext& context) override {
        context.OpenDatabase();
        if (run_->parsed()) {
            if (loop_.host_name.empty()) {
                loop_.host_name = DefaultHostName();
            }
            return RunScheduleLoop(context, loop_);
        }
        ScheduleTable schedule(*tl::db::ProcessConnection());
        if (add_->parsed()) {
            const std::string key = NormalizeTaskKey(key_);
            const auto at = ParseIsoDateTime(at_);
            if (!at) {
                throw UsageError(
                    fmt::format("--at \"{}\": expected a local time \"yyyy-mm-dd hh:nn[:ss]\"", at_));
            }
            const int every = every_.empty() ? 0 : ParseEvery(every_);
            TSvcConfig config{std::string(kScheduleStorage)};
            if (!exchange::TaskExists(config, key)) {
                throw HostError(fmt::format("there is no task {} in {}", key, context.Options().database));
            }
            schedule.Set(key, *at, every);
            fmt::print("{} runs at {}, {}\n", key, FormatIsoDateTime(*at),
                       every == 0 ? std::string("once") : "every " + EveryText(every));
            return 0;
        }
        if (remove_->parsed()) {
            const std::string key = NormalizeTaskKey(key_);
            if (!schedule.Remove(key)) {
                throw HostError(fmt::format("the task {} is not in the schedule", key));
            }
            fmt::print("{} removed from the schedule\n", key);
            return 0;
        }
        const std::vector<ScheduleEntry> entries = schedule.List();
        if (json_) {
            Json list = Json::array();
            for (const auto& entry : entries) {
                list.push_back(EntryJson(entry));
            }
            fmt::print("{}\n", list.dump(2));
            return 0;
        }
        size_t width = 4;
        for (const auto& entry : entries) {
            width = std::max(width, entry.task_key.size());
        }
        fmt::print("{:<{}}  {:<19}  EVERY  {:<19}  CODE  HOST\n", "TASK", width, "NEXT RUN", "LAST RUN");
        for (const auto& entry : entries) {
            fmt::print("{:<{}}  {:<19}  {:<5}  {:<19}  {:>4}  {}\n", entry.task_key, width,
                       OptionalTime(entry.next_run), EveryText(entry.every_minutes),
                       OptionalTime(entry.last_run), entry.last_code ? std::to_string(*entry.last_code) : "-",
                       entry.last_host);
        }
        return 0;
    }

private:
    CLI::App* add_ = nullptr;
    CLI::App* remove_ = nullptr;
    CLI::App* run_ = nullptr;
    bool json_ = false;
    std::string key_;
    std::string at_;
    std::string every_;
    ScheduleLoopOptions loop_;
};

} // namespace

std::unique_ptr<Command> MakeScheduleCommand() {
    return std::make_unique<ScheduleCommand>();
}

} // namespace tl::host
