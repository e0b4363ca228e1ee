// The commands tlhost knows, attached to the command line as (nested) subcommands.
#pragma once

#include "command.hpp"

#include <CLI/CLI.hpp>
#include <memory>
#include <vector>

namespace tl::host {

class CommandRegistry {
public:
    void Add(std::unique_ptr<Command> command);
    // Creates a subcommand per command; words shared by several paths ("db", "settings") become a
    // group that requires one of its subcommands.
    void Attach(CLI::App& app);
    // The command the parsed command line chose, or null.
    Command* Chosen() const;
    // After a failed parse, or one that chose no command: when the command words were missing or
    // unknown, says so on stderr with the list of known commands and returns true.
    bool ExplainUnknownCommand(const CLI::App& app) const;

private:
    struct Entry {
        std::unique_ptr<Command> command;
        CLI::App* app = nullptr;
    };
    std::vector<Entry> entries_;
};

} // namespace tl::host
