// A one-line display of what the running tasks are doing, kept below the status lines on a
// terminal: the query being waited for or the result being processed, with the elapsed time. A
// status line clears it, is printed, and the display comes back under it.
#pragma once

#include "tlhost/host_service.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tl::host {

class TerminalProgress {
public:
    // Draws on `out`, which must be a terminal; a ticker refreshes the elapsed time.
    explicit TerminalProgress(std::FILE* out);
    // Clears the display.
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void QueryIssued(int32_t task_id, std::string_view sql, std::span<const TlVariant> params);
    void QueryDelivered(int32_t task_id, int64_t rows);
    // Prints a status line as PrintStatusLine does, with the display cleared around it.
    void StatusLine(std::string_view scenario, std::string_view line);
    // Clears the display for good (the tasks have ended); later calls draw nothing.
    void Finish();

private:
    void Tick();
    void RedrawLocked();
    void ClearLocked();

    std::FILE* out_;
    const std::chrono::steady_clock::time_point started_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string label_;
    std::string phase_;
    bool shown_ = false;
    bool finished_ = false;
    std::thread ticker_;
};

// When standard output is a terminal, a display wired into the service options' status and query
// sinks; otherwise null and the options are left as they are (status lines only).
std::unique_ptr<TerminalProgress> AttachTerminalProgress(HostServiceOptions& options);

} // namespace tl::host
