#include "command_registry.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <fmt/ranges.h>
#include <sstream>
#include <string>

namespace tl::host {

void CommandRegistry::Add(std::unique_ptr<Command> command) {
    entries_.push_back({std::move(command), nullptr});
}

void CommandRegistry::Attach(CLI::App& app) {
    for (Entry& entry : entries_) {
        std::istringstream words(entry.command->Path());
        std::vector<std::string> path;
        for (std::string word; words >> word;) {
            path.push_back(word);
        }
        CLI::App* parent = &app;
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            CLI::App* group = nullptr;
            try {
                group = parent->get_subcommand(path[i]);
            } catch (const CLI::OptionNotFound&) {
                group = parent->add_subcommand(path[i], "")->require_subcommand(1);
            }
            const std::string listed = group->get_description();
            group->description(listed.empty() ? "one of: " + path[i + 1] : listed + ", " + path[i + 1]);
            parent = group;
        }
        entry.app = parent->add_subcommand(path.back(), entry.command->Description());
        entry.command->AddOptions(*entry.app);
    }
}

Command* CommandRegistry::Chosen() const {
    for (const Entry& entry : entries_) {
        if (entry.app != nullptr && entry.app->parsed()) {
            return entry.command.get();
        }
    }
    return nullptr;
}

} // namespace tl::host

namespace tl::host {

bool CommandRegistry::ExplainUnknownCommand(const CLI::App& app) const {
    // The words of the command line that chose a (group of) command(s) so far: "db" of "db foo".
    std::string chosen;
    const CLI::App* deepest = &app;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (const CLI::App* sub : deepest->get_subcommands()) {
            chosen += (chosen.empty() ? "" : " ") + sub->get_name();
            deepest = sub;
            deeper = true;
            break;
        }
    }
    // A command of its own (not a group) failed on its options: CLI11's message says why.
    for (const Entry& entry : entries_) {
        if (entry.app == deepest) {
            return false;
        }
    }
    std::string word;
    for (const std::string& left : app.remaining(true)) {
        if (!left.starts_with("-")) {
            word = left;
            break;
        }
    }
    const std::string asked = chosen.empty() ? word : word.empty() ? chosen : chosen + " " + word;
    if (word.empty()) {
        fmt::print(stderr, "tlhost: error: no command given{}\n",
                   chosen.empty() ? "" : " after \"" + chosen + "\"");
    } else {
        fmt::print(stderr, "tlhost: error: unknown command \"{}\"\n", asked);
    }
    std::vector<std::string> known;
    for (const Entry& entry : entries_) {
        known.push_back(entry.command->Path());
    }
    fmt::print(stderr,
               "The commands are: {}.\nRun \"tlhost --help\" or \"tlhost COMMAND --help\" for more.\n",
               fmt::join(known, ", "));
    return true;
}

} // namespace tl::host
