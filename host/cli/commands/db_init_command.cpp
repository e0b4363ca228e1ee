#include "commands/builtin_commands.hpp"
#include "host_context.hpp"

#include <fmt/format.h>

namespace tl::host {
namespace {

class DbInitCommand : public Command {
public:
    std::string Path() const override { return "db init"; }
    std::string Description() const override {
        return "Create the metering database (--db) and its tables; an existing database keeps its data";
    }
    void AddOptions(CLI::App&) override {}
    int Run(HostContext& context) override {
        context.OpenDatabase(/*create=*/true);
        fmt::print("database ready: {}\n", context.Options().database);
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> MakeDbInitCommand() {
    return std::make_unique<DbInitCommand>();
}

} // namespace tl::host
