#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "run_tasks.hpp"
#include "tldemo/demo_task.hpp"
#include "tldemo/formula_task.hpp"
#include "tldemo/loss_report.hpp"
#include "tldemo/metering_writer.hpp"
#include "tldemo/scenario.hpp"
#include "tldemo/voltage_series.hpp"
#include "tlhost/host_error.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlsettings/svc_config.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <system_error>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDatabaseName = "demo.db";
// Momentary voltages are stored every 3 minutes.
constexpr int kVoltageStepMinutes = 3;

fs::path NewTemporaryDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        (fs::path(base != nullptr && *base != '\0' ? base : "/tmp") / "tlosses-demo-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        throw HostError(fmt::format("cannot create a directory for the demo ({})", pattern));
    }
    return pattern;
}

void RemoveDatabase(const fs::path& file) {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::error_code ec;
        fs::remove(fs::path(file.string() + suffix), ec);
        if (ec) {
            throw HostError(fmt::format("cannot remove {}{}: {}", file.string(), suffix, ec.message()));
        }
    }
}

std::string SelfPath() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("tlhost") : self.string();
}

class DemoCommand : public Command {
public:
    std::string Path() const override { return "demo"; }
    std::string Description() const override {
        return "Create a metering database with a small network and two weeks of data, run two loss "
               "calculation tasks on it (coefficients, and a formula per element) and print the stored "
               "losses; exit status 0 only when both tasks succeeded";
    }
    void AddOptions(CLI::App& command) override {
        main_app_ = command.get_parent();
        command.add_option("--db", database_,
                           "database file to create, a directory to create demo.db in (default: a new "
                           "temporary directory), or a postgresql:// URI of an existing database, where "
                           "the schema is made when missing and the demo's rows are written");
        auto* force = command.add_flag("--force", force_, "replace an existing database file");
        command
            .add_flag("--keep", keep_,
                      "use an existing database as it is: set up the task again and rerun it")
            ->excludes(force);
    }
    int Run(HostContext& context) override {
        const std::string database = Database();
        const bool server = tl::db::IsServerUri(database);
        GlobalOptions options = context.Options();
        options.database = database;
        if (options.log_directory.empty()) {
            options.log_directory =
                server ? NewTemporaryDirectory().string() : fs::path(database).parent_path().string();
        }
        HostContext demo(options);
        const demo::Scenario scenario = demo::DemoScenario();
        if (keep_) {
            demo.OpenDatabase();
        } else {
            demo.OpenDatabase(true);
            Generate(scenario);
        }
        {
            TSvcConfig config{std::string(kScheduleStorage)};
            demo::ConfigureTask(config, scenario);
            demo::ConfigureFormulaTask(config, scenario, demo::kFormulaTaskKey);
        }
        const fs::path log_directory = fs::absolute(options.log_directory);
        fmt::print("Running {} (method 0: line and transformer losses from coefficients)\n",
                   scenario.task_key);
        std::fflush(stdout);
        const TasksRun run = RunTasks(demo, {scenario.task_key});
        // The next run writes tlosses.log anew: this one's log is kept beside it.
        const fs::path defined_log = log_directory / "tlosses-method0.log";
        std::error_code ec;
        fs::rename(log_directory / "tlosses.log", defined_log, ec);
        fmt::print("\nRunning {} (method 1: a formula per element)\n", demo::kFormulaTaskKey);
        std::fflush(stdout);
        const TasksRun formula_run = RunTasks(demo, {demo::kFormulaTaskKey});
        if (run.all_succeeded && formula_run.all_succeeded) {
            PrintLosses(scenario);
        } else {
            fmt::print(stderr, "tlhost: a demo task did not succeed; see the run logs\n");
        }
        const std::string shown = server ? database : fs::absolute(database).string();
        fmt::print("Database: {}\nRun logs: {}\n          {}\n", shown, defined_log.string(),
                   (log_directory / "tlosses.log").string());
        for (const std::string& key : {scenario.task_key, std::string(demo::kFormulaTaskKey)}) {
            fmt::print("Rerun:    {} --db '{}' --log-dir '{}' run '{}'\n", SelfPath(), shown,
                       log_directory.string(), key);
        }
        fmt::print("Settings: {} --db '{}' configure '{}'\n"
                   "          opens a task's settings dialog (needs DISPLAY or WAYLAND_DISPLAY, or "
                   "QT_QPA_PLATFORM=offscreen)\n",
                   SelfPath(), fs::absolute(database).string(), scenario.task_key);
        return std::max(run.exit_status, formula_run.exit_status);
    }

private:
    static void PrintLosses(const demo::Scenario& scenario) {
        auto lock = tl::db::LockProcessConnection();
        tl::db::Connection& connection = *tl::db::ProcessConnection();
        const auto losses = demo::ReadStoredLosses(connection, scenario.network);
        fmt::print(
            "\nStored losses: sums of Value0 (lines) and Value1 (transformers), rows per channel below\n"
            "{}"
            "The transformer formula squares the stored values, which from the day on are energies\n"
            "rather than powers: its day to year columns grow with the square of the interval.\n\n",
            demo::FormatLossTable(losses));
        // Each element's active channel beside the element's formula.
        const auto formulas = demo::ReadFormulaLosses(connection, scenario.network);
        std::vector<demo::LossRow> side_by_side;
        for (size_t e = 0; e < formulas.size(); ++e) {
            side_by_side.push_back(losses.at(2 * e));
            side_by_side.push_back(formulas[e]);
        }
        fmt::print("The same elements by formula (method 1, Value0) under each one's active channel:\n"
                   "{}"
                   "Lines: Line_LossesW_A with the current from the energy, the power factor of both\n"
                   "channels and the momentary phase voltage Ua; transformers: T2_LossesW_A, which takes\n"
                   "energies as energies, so its columns add up from the day on.\n\n",
                   demo::FormatLossTable(side_by_side));
    }

    // The database to use: --db of the command or of tlhost, a file or a directory for demo.db, or
    // a server database taken as it is (the demo's rows replace those of an earlier demo there);
    // without either, demo.db in a new temporary directory.
    std::string Database() const {
        std::string given = database_;
        if (given.empty() && main_app_ != nullptr && main_app_->count("--db") > 0) {
            given = main_app_->get_option("--db")->as<std::string>();
        }
        if (tl::db::IsServerUri(given)) {
            return given;
        }
        return DatabaseFile(given).string();
    }

    fs::path DatabaseFile(const std::string& given) const {
        if (given.empty()) {
            if (keep_) {
                throw HostError("--keep needs the database of an earlier demo (--db PATH)");
            }
            return NewTemporaryDirectory() / kDatabaseName;
        }
        const bool directory = fs::is_directory(given) || fs::path(given).filename().empty();
        fs::path file = directory ? fs::path(given) / kDatabaseName : fs::path(given);
        if (keep_) {
            if (!fs::exists(file)) {
                throw HostError(fmt::format("--keep: the database {} does not exist", file.string()));
            }
        } else if (fs::exists(file)) {
            if (!force_) {
                throw HostError(fmt::format("the database {} exists; give --force to replace it, --keep to "
                                            "rerun the demo on it, or another --db",
                                            file.string()));
            }
            RemoveDatabase(file);
        }
        if (file.has_parent_path()) {
            std::error_code ec;
            fs::create_directories(file.parent_path(), ec);
        } else {
            file = fs::path(".") / file;
        }
        return file;
    }

    static void Generate(const demo::Scenario& scenario) {
        const auto started = std::chrono::steady_clock::now();
        demo::WriteStats stats;
        int64_t voltages = 0;
        {
            auto lock = tl::db::LockProcessConnection();
            stats = demo::WriteMeteringData(*tl::db::ProcessConnection(), scenario);
            voltages = demo::WriteVoltages(*tl::db::ProcessConnection(), scenario, kVoltageStepMinutes);
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        fmt::print("Generated {} devices, {} channels, {} metering rows, {} momentary voltages and {} events "
                   "in {} ms\n",
                   scenario.network.devices.size(), scenario.network.elements.size() * 2, stats.data_rows,
                   voltages, stats.event_rows, ms.count());
    }

    CLI::App* main_app_ = nullptr;
    std::string database_;
    bool force_ = false;
    bool keep_ = false;
};

} // namespace

std::unique_ptr<Command> MakeDemoCommand() {
    return std::make_unique<DemoCommand>();
}

} // namespace tl::host
