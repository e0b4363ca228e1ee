// A command of tlhost ("run", "db init", ...). Each command lives in its own file under
// commands/ and is added to the registry in builtin_commands.cpp.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace tl::host {

class HostContext;

class Command {
public:
    virtual ~Command() = default;
    // Words of the command line that choose it: "run", "db init", "settings export".
    virtual std::string Path() const = 0;
    virtual std::string Description() const = 0;
    // Arguments and options of the command, added to its own subcommand.
    virtual void AddOptions(CLI::App& command) = 0;
    // Runs after the command line has been parsed; returns the exit status. Errors for the user
    // are thrown as HostError (exit status 2).
    virtual int Run(HostContext& context) = 0;
};

} // namespace tl::host
