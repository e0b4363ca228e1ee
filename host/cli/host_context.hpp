// What every command shares: the global options and how to open the database and the driver.
#pragma once

#include "tlhost/driver_library.hpp"
#include "tlhost/host_service.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tl::host {

struct GlobalOptions {
    std::string database = "tlosses.db"; // --db or TLHOST_DB
    std::string driver;                  // --driver; empty: beside tlhost
    std::string log_directory;           // --log-dir; empty: the driver's default
    int keep_logs = 20;                  // --keep-logs: run logs kept per task
    double busy_timeout_seconds = 10;    // --busy-timeout
    std::string include_directory;       // --include-dir; empty: scripts include nothing
};

class HostContext {
public:
    explicit HostContext(GlobalOptions options) : options_(std::move(options)) {}

    const GlobalOptions& Options() const { return options_; }

    // Opens the database as the process-wide connection. A SQLite file that does not exist is an
    // error (DatabaseError), unless `create`, which also creates the schema.
    void OpenDatabase(bool create = false);
    std::unique_ptr<DriverLibrary> LoadDriver() const;
    // --include-dir made absolute (the driver must not depend on the current directory), empty when
    // it is not given; throws HostError when it names no directory.
    std::string IncludeDirectory() const;
    // Options for a host service working on the opened database. A --log-dir that cannot be
    // created is a HostError.
    HostServiceOptions ServiceOptions() const;
    // Where the driver writes tlosses.log: --log-dir, or beside the running executable.
    std::filesystem::path LogDirectory() const;
    // Why no file can be written into the log directory; nothing when one can.
    std::optional<std::string> LogDirectoryProblem() const;

private:
    GlobalOptions options_;
};

} // namespace tl::host
