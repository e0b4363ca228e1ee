// Errors of the host itself (a driver that cannot be loaded, a missing database, a bad task key):
// reported to the user, never passed into the driver. Each carries the exit status tlhost ends
// with, so that every command reports the same kind of failure the same way.
#pragma once

#include <stdexcept>
#include <string>

namespace tl::host {

// Exit statuses of tlhost; when several apply, the highest wins.
namespace exit_status {
inline constexpr int kOk = 0;
inline constexpr int kFailed =
    1; // a task ended with a code other than 0, or a command failed on its input or target
inline constexpr int kUsage = 2;    // the command line was wrong
inline constexpr int kDatabase = 3; // the database could not be opened, or a query or store failed
inline constexpr int kStopped = 4;  // the run was stopped by --timeout or SIGINT/SIGTERM
} // namespace exit_status

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& what, int exit_status = exit_status::kFailed)
        : std::runtime_error(what), exit_status_(exit_status) {}

    int ExitStatus() const { return exit_status_; }

private:
    int exit_status_;
};

// A wrong command line: a malformed argument or a combination of options that cannot work.
class UsageError : public HostError {
public:
    explicit UsageError(const std::string& what) : HostError(what, exit_status::kUsage) {}
};

// The database could not be opened or refused what the host asked of it.
class DatabaseError : public HostError {
public:
    explicit DatabaseError(const std::string& what) : HostError(what, exit_status::kDatabase) {}
};

} // namespace tl::host
