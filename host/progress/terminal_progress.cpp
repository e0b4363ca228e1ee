#include "tlhost/terminal_progress.hpp"

#include "tlhost/query_label.hpp"
#include "tlhost/status_line.hpp"

#include <ctime>
#include <fmt/format.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tl::host {
namespace {

constexpr auto kTickPeriod = std::chrono::milliseconds(200);
constexpr std::string_view kClearLine = "\r\033[K";

int TerminalWidth(std::FILE* out) {
    winsize size{};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col - 1; // leave the last column free so the cursor never wraps
    }
    return 79;
}

} // namespace

TerminalProgress::TerminalProgress(std::FILE* out)
    : out_(out), started_(std::chrono::steady_clock::now()), label_("задача"), phase_("запуск"),
      ticker_([this] { Tick(); }) {}

TerminalProgress::~TerminalProgress() {
    Finish();
    ticker_.join();
}

void TerminalProgress::QueryIssued(int32_t task_id, std::string_view sql, std::span<const TlVariant> params) {
    std::lock_guard lock(mutex_);
    label_ = DescribeQuery(sql, params);
    if (task_id > 1) {
        label_ = fmt::format("задача {}: {}", task_id, label_);
    }
    phase_ = "запрос данных";
    RedrawLocked();
}

void TerminalProgress::QueryDelivered(int32_t /*task_id*/, int64_t rows) {
    std::lock_guard lock(mutex_);
    phase_ = rows < 0 ? std::string("обработка") : fmt::format("обработка, строк: {}", rows);
    RedrawLocked();
}

void TerminalProgress::StatusLine(std::string_view scenario, std::string_view line) {
    std::lock_guard lock(mutex_);
    ClearLocked();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    fmt::print(out_, "{}\n", FormatStatusLine(local, scenario, line));
    std::fflush(out_);
    RedrawLocked();
}

void TerminalProgress::Finish() {
    {
        std::lock_guard lock(mutex_);
        if (finished_) {
            return;
        }
        ClearLocked();
        finished_ = true;
    }
    wake_.notify_all();
}

void TerminalProgress::Tick() {
    std::unique_lock lock(mutex_);
    while (!finished_) {
        wake_.wait_for(lock, kTickPeriod);
        RedrawLocked();
    }
}

void TerminalProgress::RedrawLocked() {
    if (finished_) {
        return;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
    fmt::print(out_, "{}{}", kClearLine, FormatProgressLine(label_, phase_, elapsed, TerminalWidth(out_)));
    std::fflush(out_);
    shown_ = true;
}

void TerminalProgress::ClearLocked() {
    if (shown_) {
        fmt::print(out_, "{}", kClearLine);
        std::fflush(out_);
        shown_ = false;
    }
}

std::unique_ptr<TerminalProgress> AttachTerminalProgress(HostServiceOptions& options) {
    if (isatty(STDOUT_FILENO) == 0) {
        return nullptr;
    }
    auto progress = std::make_unique<TerminalProgress>(stdout);
    TerminalProgress* display = progress.get();
    options.status = [display](std::string_view scenario, std::string_view line) {
        display->StatusLine(scenario, line);
    };
    options.query_issued = [display](int32_t task_id, std::string_view sql,
                                     std::span<const TlVariant> params) {
        display->QueryIssued(task_id, sql, params);
    };
    options.query_delivered = [display](int32_t task_id, int64_t rows) {
        display->QueryDelivered(task_id, rows);
    };
    return progress;
}

} // namespace tl::host
