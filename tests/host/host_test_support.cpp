#include "host_test_support.hpp"

#include "tlplatform/db_connection.hpp"

#include <bit>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tl::host::testing {

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("tlhost-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<std::string> StoredResultRows(db::Connection& db, bool receive_stamps) {
    auto set =
        db.Query("select parnumber, data_date, object, objtype, item, season, value0, value1, tvkstatus, "
                 "rcvstamp from data where parnumber >= 30000 "
                 "order by parnumber, data_date, season, object, item, objtype",
                 {});
    std::vector<std::string> rows;
    const auto bits = [&](int field) { return std::bit_cast<uint64_t>(set->AsDouble(field)); };
    for (set->First(); !set->Eof(); set->Next()) {
        std::string row = fmt::format("{} {:x} {}.{}.{} {} {:x} {:x} {}", set->AsInteger(0), bits(1),
                                      set->AsInteger(2), set->AsInteger(3), set->AsInteger(4),
                                      set->AsInteger(5), bits(6), bits(7), set->StatusWord());
        if (receive_stamps && set->AsInteger(3) == 0) {
            row += fmt::format(" {:x}", bits(9));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string KeptLogPath(const Outcome& run) {
    std::smatch match;
    return std::regex_search(run.out, match, std::regex(R"(; log: (\S+\.log)\n)")) ? match[1].str() : "";
}

bool EndedByFailure(const std::string& out, std::string_view task, std::string_view kind) {
    return Contains(out, fmt::format("{}: 5 Прервано; FAILED: {} failed: ", task, kind)) ||
           (kind == "store" &&
            Contains(out, fmt::format("{}: 0 Успешный расчёт; FAILED: store failed: ", task)));
}

namespace {

// NUL-terminated pointers into `texts`, which must outlive them.
std::vector<char*> PointerList(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

StartedProcess::StartedProcess(const std::string& program, const std::filesystem::path& cwd,
                               const std::vector<std::string>& args, const ProcessOptions& options)
    : out_(cwd / fmt::format(".process-{}.out", static_cast<const void*>(this))),
      err_(cwd / fmt::format(".process-{}.err", static_cast<const void*>(this))),
      merge_err_(options.merge_err) {
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!std::string_view(*e).starts_with("TLHOST_DB=")) {
            env_text.emplace_back(*e);
        }
    }
    env_text.insert(env_text.end(), options.env.begin(), options.env.end());
    const std::vector<char*> argv = PointerList(argv_text);
    const std::vector<char*> envp = PointerList(env_text);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (merge_err_) {
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    // The child inherits the limit at its start; this process gets its own back at once.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (options.file_size_limit > 0) {
        rlimit limited = saved;
        limited.rlim_cur = static_cast<rlim_t>(options.file_size_limit);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    setrlimit(RLIMIT_FSIZE, &saved);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(rc);
        return;
    }
    pid_ = pid;
}

StartedProcess::~StartedProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Finish();
    }
}

Outcome StartedProcess::Finish() {
    Outcome outcome;
    if (pid_ <= 0) {
        return outcome;
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadFile(out_);
    outcome.err = merge_err_ ? std::string() : ReadFile(err_);
    std::error_code ec;
    std::filesystem::remove(out_, ec);
    std::filesystem::remove(err_, ec);
    return outcome;
}

Outcome RunProcess(const std::string& program, const std::filesystem::path& cwd,
                   const std::vector<std::string>& args, const ProcessOptions& options) {
    return StartedProcess(program, cwd, args, options).Finish();
}

Outcome RunTlhost(const std::filesystem::path& cwd, const std::string& db, std::vector<std::string> args,
                  const ProcessOptions& options) {
    if (!db.empty()) {
        args.insert(args.begin(), {"--db", db});
    }
    return RunProcess(TLHOST_PATH, cwd, args, options);
}

} // namespace tl::host::testing
