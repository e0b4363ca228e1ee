// tlhost: a command-line host of the loss-calculation driver.
#include "command_registry.hpp"
#include "commands/builtin_commands.hpp"
#include "exit_status_help.hpp"
#include "host_context.hpp"
#include "tlhost/host_error.hpp"
#include "tlosses/version.h"
#include "tlplatform/db_connection.hpp"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <fmt/format.h>

int main(int argc, char** argv) {
    using namespace tl::host;
    // A write past the file-size limit then fails with EFBIG, which the database reports like a
    // full disk, instead of killing the process in the middle of a store.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"Runs the tasks of the loss-calculation driver (libtlosses.so) on a metering database.",
                 "tlhost"};
    app.footer(kExitStatusHelp);
    app.set_version_flag("--version", "tlhost " TLOSSES_VERSION);
    GlobalOptions options;
    app.add_option("--db", options.database, "metering database: a SQLite file or a postgresql:// URI")
        ->envname("TLHOST_DB")
        ->capture_default_str();
    app.add_option("--driver", options.driver,
                   "driver library (default: libtlosses.so beside tlhost, else the installed one)");
    app.add_option("--log-dir", options.log_directory,
                   "directory for the driver's tlosses.log (default: the driver's choice, beside tlhost); "
                   "each finished task's log is kept in its logs/ subdirectory");
    app.add_option("--keep-logs", options.keep_logs,
                   "run logs kept per task in logs/ under the log directory (0: none)")
        ->check(CLI::Range(0, 1'000'000))
        ->capture_default_str();
    app.add_option("--busy-timeout", options.busy_timeout_seconds,
                   "seconds a write waits for another connection's lock on the database before it fails")
        ->check(CLI::Range(0.0, 86'400.0))
        ->capture_default_str();
    app.add_option("--include-dir", options.include_directory,
                   "the one directory {$I file} of task scripts reads from (default: none, includes are "
                   "refused)");
    app.fallthrough();
    app.require_subcommand(1);

    CommandRegistry registry;
    AddBuiltinCommands(registry);
    registry.Attach(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            return app.exit(e); // --help
        }
        if (!registry.ExplainUnknownCommand(app)) {
            app.exit(e);
        }
        return exit_status::kUsage;
    }

    HostContext context(options);
    try {
        Command* command = registry.Chosen();
        if (command == nullptr) {
            registry.ExplainUnknownCommand(app);
            return exit_status::kUsage;
        }
        return command->Run(context);
    } catch (const HostError& e) {
        fmt::print(stderr, "tlhost: error: {}\n", e.what());
        return e.ExitStatus();
    } catch (const tl::db::Error& e) {
        fmt::print(stderr, "tlhost: database error: {}\n", e.what());
        return exit_status::kDatabase;
    } catch (const std::exception& e) {
        fmt::print(stderr, "tlhost: error: {}\n", e.what());
        return exit_status::kFailed;
    }
}
