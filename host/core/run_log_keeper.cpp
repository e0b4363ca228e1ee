#include "tlhost/run_log_keeper.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fmt/format.h>
#include <sys/inotify.h>
#include <tuple>
#include <unistd.h>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDriverLog = "tlosses.log";

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fmt::format("{:04}{:02}{:02}-{:02}{:02}{:02}", local.tm_year + 1900, local.tm_mon + 1,
                       local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<name>-yyyymmdd-hhmmss.log" or "<name>-yyyymmdd-hhmmss-N.log".
bool IsCopyOf(std::string_view file, std::string_view name) {
    if (!file.starts_with(name) || !file.ends_with(".log") || file.size() < name.size() + 1 + 15 + 4) {
        return false;
    }
    std::string_view stamp = file.substr(name.size(), file.size() - name.size() - 4);
    if (!stamp.starts_with('-') || !AllDigits(stamp.substr(1, 8)) || stamp[9] != '-' ||
        !AllDigits(stamp.substr(10, 6))) {
        return false;
    }
    stamp.remove_prefix(16);
    return stamp.empty() || (stamp.front() == '-' && AllDigits(stamp.substr(1)));
}

} // namespace

std::string LogNameOf(std::string_view task_key) {
    std::string_view name = task_key;
    if (name.ends_with('\\')) {
        name.remove_suffix(1);
    }
    name = name.substr(name.find_last_of("\\:") + 1);
    std::string file(name);
    std::replace(file.begin(), file.end(), '/', '_');
    return file.empty() || file == "." || file == ".." ? "task" : file;
}

RunLogKeeper::RunLogKeeper(fs::path log_directory, fs::path keep_directory, int limit)
    : log_directory_(std::move(log_directory)), keep_directory_(std::move(keep_directory)), limit_(limit) {
    if (limit_ <= 0) {
        return;
    }
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ < 0 || inotify_add_watch(watch_, log_directory_.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        problems_.push_back(fmt::format("the run logs in {} cannot be watched, so none is kept: {}",
                                        log_directory_.string(), std::strerror(errno)));
    }
}

RunLogKeeper::~RunLogKeeper() {
    if (watch_ >= 0) {
        close(watch_);
    }
}

bool RunLogKeeper::LogWasWritten() {
    if (watch_ < 0) {
        return false;
    }
    bool written = false;
    alignas(inotify_event) std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t length = read(watch_, buffer.data(), buffer.size());
        if (length <= 0) {
            return written;
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            if (event->len > 0 && kDriverLog == event->name) {
                written = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void RunLogKeeper::AfterCall(int32_t task_id, std::string_view task_key) {
    if (LogWasWritten()) {
        Keep(task_id, LogNameOf(task_key));
    }
}

std::optional<fs::path> RunLogKeeper::KeptLog(int32_t task_id) const {
    const auto it = kept_.find(task_id);
    return it != kept_.end() ? std::optional(it->second) : std::nullopt;
}

void RunLogKeeper::Keep(int32_t task_id, const std::string& name) {
    std::error_code ec;
    fs::create_directories(keep_directory_, ec);
    const std::string stamp = Timestamp();
    fs::path copy = keep_directory_ / fmt::format("{}-{}.log", name, stamp);
    for (int n = 2; fs::exists(copy, ec); ++n) {
        copy = keep_directory_ / fmt::format("{}-{}-{}.log", name, stamp, n);
    }
    if (!fs::copy_file(log_directory_ / kDriverLog, copy, ec)) {
        problems_.push_back(fmt::format("the run log of {} could not be kept as {}: {}", name, copy.string(),
                                        ec ? ec.message() : "not copied"));
        return;
    }
    kept_[task_id] = copy;
    Prune(name);
}

void RunLogKeeper::Prune(const std::string& name) {
    std::error_code ec;
    // Oldest first; copies of one second by their number ("-2" after none, "-10" after "-9").
    std::vector<std::tuple<fs::file_time_type, size_t, std::string>> copies;
    for (const fs::directory_entry& entry : fs::directory_iterator(keep_directory_, ec)) {
        std::string file = entry.path().filename().string();
        if (IsCopyOf(file, name)) {
            copies.emplace_back(entry.last_write_time(ec), file.size(), std::move(file));
        }
    }
    if (copies.size() <= static_cast<size_t>(limit_)) {
        return;
    }
    std::sort(copies.begin(), copies.end());
    for (size_t i = 0; i + static_cast<size_t>(limit_) < copies.size(); ++i) {
        fs::remove(keep_directory_ / std::get<2>(copies[i]), ec);
    }
}

} // namespace tl::host
