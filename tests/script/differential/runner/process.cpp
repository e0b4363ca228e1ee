#include "process.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tl::differential {
namespace {

// Closes the descriptors it owns when the scope ends, whatever path leaves it.
class Pipe {
public:
    Pipe() {
        if (pipe2(fds_, O_CLOEXEC) != 0) {
            fds_[0] = fds_[1] = -1;
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool Valid() const { return fds_[0] >= 0; }
    int ReadEnd() const { return fds_[0]; }
    int WriteEnd() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    int fds_[2] = {-1, -1};
};

// Reads both pipes until both are closed, so that a child that fills one of them never blocks.
void Drain(Pipe& out_pipe, Pipe& err_pipe, ProcessResult& result) {
    pollfd fds[2] = {{out_pipe.ReadEnd(), POLLIN, 0}, {err_pipe.ReadEnd(), POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open_count = 2;
    char buffer[65536];
    while (open_count > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open_count;
            }
        }
    }
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv) {
    ProcessResult result;
    if (argv.empty()) {
        result.failure = "no program given";
        return result;
    }
    Pipe out_pipe;
    Pipe err_pipe;
    if (!out_pipe.Valid() || !err_pipe.Valid()) {
        result.failure = fmt::format("cannot create a pipe: {}", std::strerror(errno));
        return result;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out_pipe.WriteEnd(), 1);
    posix_spawn_file_actions_adddup2(&actions, err_pipe.WriteEnd(), 2);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        result.failure = fmt::format("cannot start {}: {}", argv[0], std::strerror(rc));
        return result;
    }
    out_pipe.CloseWrite();
    err_pipe.CloseWrite();
    Drain(out_pipe, err_pipe, result);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.failure = fmt::format("waiting for {} failed: {}", argv[0], std::strerror(errno));
            return result;
        }
    }
    if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    } else {
        result.exit_code = WEXITSTATUS(status);
    }
    return result;
}

std::string DescribeEnd(const ProcessResult& result) {
    if (!result.failure.empty()) {
        return result.failure;
    }
    if (result.signal != 0) {
        return fmt::format("killed by signal {} ({})", result.signal, strsignal(result.signal));
    }
    return fmt::format("exit status {}", result.exit_code);
}

} // namespace tl::differential
