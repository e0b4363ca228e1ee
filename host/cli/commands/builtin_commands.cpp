#include "commands/builtin_commands.hpp"

namespace tl::host {

void AddBuiltinCommands(CommandRegistry& registry) {
    registry.Add(MakeDbInitCommand());
    registry.Add(MakeRunCommand());
    registry.Add(MakeDecodeCommand());
    registry.Add(MakeSettingsExportCommand());
    registry.Add(MakeSettingsImportCommand());
    registry.Add(MakeDemoCommand());
    registry.Add(MakeCheckScriptCommand());
    registry.Add(MakeTasksCommand());
    registry.Add(MakeDataImportCommand());
    registry.Add(MakeEventsImportCommand());
    registry.Add(MakeResultsExportCommand());
    registry.Add(MakeReportCommand());
    registry.Add(MakeScheduleCommand());
    registry.Add(MakeCompletionCommand());
    registry.Add(MakeConfigureCommand());
}

} // namespace tl::host
