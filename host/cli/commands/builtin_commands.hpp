#pragma once

#include "command_registry.hpp"

namespace tl::host {

// Every command of tlhost. A new command: a class in commands/<name>_command.cpp with a factory
// declared here, and one line in builtin_commands.cpp.
void AddBuiltinCommands(CommandRegistry& registry);

std::unique_ptr<Command> MakeDbInitCommand();
std::unique_ptr<Command> MakeRunCommand();
std::unique_ptr<Command> MakeDecodeCommand();
std::unique_ptr<Command> MakeSettingsExportCommand();
std::unique_ptr<Command> MakeSettingsImportCommand();
std::unique_ptr<Command> MakeDemoCommand();
std::unique_ptr<Command> MakeCheckScriptCommand();
std::unique_ptr<Command> MakeCompletionCommand();
std::unique_ptr<Command> MakeDataImportCommand();
std::unique_ptr<Command> MakeEventsImportCommand();
std::unique_ptr<Command> MakeResultsExportCommand();
std::unique_ptr<Command> MakeTasksCommand();
std::unique_ptr<Command> MakeReportCommand();
std::unique_ptr<Command> MakeScheduleCommand();
std::unique_ptr<Command> MakeConfigureCommand();

} // namespace tl::host
