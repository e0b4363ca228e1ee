// The exit statuses of tlhost, as its help pages state them.
#pragma once

namespace tl::host {

inline constexpr const char* kExitStatusHelp =
    "Exit status (when several apply, the highest wins):\n"
    "  0  the command did all it was asked; for run: every task ended with code 0 and no query or\n"
    "     store failed\n"
    "  1  a task ended with a code other than 0, or the command failed on its input or target\n"
    "     (a bad import file, a missing task, a task already running elsewhere...)\n"
    "  2  the command line was wrong: an unknown command, a bad option or value\n"
    "  3  a database failure: the database could not be opened, or a query or store failed (the\n"
    "     database's own text is printed and the task was stopped)\n"
    "  4  the run was stopped by --timeout or by SIGINT/SIGTERM\n";

} // namespace tl::host
