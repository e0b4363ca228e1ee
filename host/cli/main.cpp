// tlhost: a command-line host of the loss-calculation driver.
#include "command_registry.hpp"
#include "commands/builtin_commands.hpp"
#include "host_context.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fmt/format.h>

int main(int argc, char** argv) {
    using namespace tl::host;
    CLI::App app{"Runs the tasks of the loss-calculation driver (libtlosses.so) on a metering database.",
                 "tlhost"};
    GlobalOptions options;
    app.add_option("--db", options.database, "metering database: a SQLite file or a postgresql:// URI")
        ->envname("TLHOST_DB")
        ->capture_default_str();
    app.add_option("--driver", options.driver, "driver library (default: libtlosses.so beside tlhost)");
    app.add_option("--log-dir", options.log_directory,
                   "directory for the driver's tlosses.log (default: the driver's choice)");
    app.fallthrough();
    app.require_subcommand(1);

    CommandRegistry registry;
    AddBuiltinCommands(registry);
    registry.Attach(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    HostContext context(options);
    try {
        Command* command = registry.Chosen();
        if (command == nullptr) {
            fmt::print(stderr, "tlhost: error: no command given\n{}", app.help());
            return 2;
        }
        return command->Run(context);
    } catch (const std::exception& e) {
        fmt::print(stderr, "tlhost: error: {}\n", e.what());
        return 2;
    }
}
