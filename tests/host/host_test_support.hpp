// Pieces shared by the host tests: a scratch directory with a metering database, and records
// as the driver hands them over.
#pragma once

#include "tlosses/abi.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {
class Connection;
}

namespace tl::host::testing {

// A fresh directory under the system's temp directory, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The whole content of a file, empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

inline bool Contains(std::string_view text, std::string_view fragment) {
    return text.find(fragment) != std::string_view::npos;
}

// Polls `done` every 20 ms; false when it still does not hold after `limit`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60));

// Every stored result row (parameter 30000 and up), in a fixed order, with its reals as their
// bits: "parnumber stamp object.type.item season value0 value1 status [rcvstamp]". The receive stamp
// only with `receive_stamps` and only for channels (type 0): the formula task stamps each row with
// the time it was built.
std::vector<std::string> StoredResultRows(db::Connection& db, bool receive_stamps = false);

struct Outcome {
    int status = -1; // exit status, 128 + the signal when killed
    std::string out;
    std::string err; // empty when merged into `out`
};

// The run log a summary line of tlhost names ("; log: PATH"), empty when none is named.
std::string KeptLogPath(const Outcome& run);

// Whether the summary shows `task` ended by a failed query or store (`kind`): stopped (code 5),
// or, for a store that failed after the driver had ended its passes, ended with its own code 0.
bool EndedByFailure(const std::string& out, std::string_view task, std::string_view kind);

struct ProcessOptions {
    std::vector<std::string> env; // "NAME=value", added to the environment
    bool merge_err = false;       // standard error into the standard output
    long file_size_limit = 0;     // RLIMIT_FSIZE of the process in bytes; 0: unchanged
};

// A process started in the background; Finish waits for it and collects its output.
class StartedProcess {
public:
    StartedProcess(const std::string& program, const std::filesystem::path& cwd,
                   const std::vector<std::string>& args, const ProcessOptions& options = {});
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    int Pid() const { return pid_; }
    // The standard output written so far.
    std::string OutputSoFar() const { return ReadFile(out_); }
    Outcome Finish();

private:
    std::filesystem::path out_;
    std::filesystem::path err_;
    bool merge_err_;
    int pid_ = -1;
};

// Runs `program` with `args` in `cwd`, standard output and error into files (so not a terminal),
// TLHOST_DB removed from the environment and the options' variables added to it.
Outcome RunProcess(const std::string& program, const std::filesystem::path& cwd,
                   const std::vector<std::string>& args, const ProcessOptions& options = {});

// The build's tlhost run so, with "--db DB" in front of the arguments unless `db` is empty.
Outcome RunTlhost(const std::filesystem::path& cwd, const std::string& db, std::vector<std::string> args,
                  const ProcessOptions& options = {});

// Variants as the driver passes them; a string is not owned and must outlive its variant.
inline constexpr auto Int32 = [](int32_t x) { return TlVariant{TL_VT_INT32, {.i32 = x}}; };
inline constexpr auto Double = [](double x) { return TlVariant{TL_VT_DOUBLE, {.f64 = x}}; };
inline constexpr auto DateTime = [](double x) { return TlVariant{TL_VT_DATETIME, {.date_time = x}}; };
inline constexpr auto String = [](const char* x) { return TlVariant{TL_VT_STRING, {.str = x}}; };

} // namespace tl::host::testing
