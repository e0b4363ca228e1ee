#include "command_registry.hpp"

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
