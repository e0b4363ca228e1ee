#include "message_queue.hpp"

#include <chrono>
#include <limits>

namespace tl::wm {

bool MessageQueue::Post(const TlWmMessage& message) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
        messages_.push_back(message);
    }
    ready_.notify_one();
    return true;
}

bool MessageQueue::Get(TlWmMessage& out, int32_t timeout_ms) {
    std::unique_lock lock(mutex_);
    const auto can_go = [this] { return closed_ || !messages_.empty(); };
    if (timeout_ms < 0) {
        ready_.wait(lock, can_go);
    } else if (!ready_.wait_for(lock, std::chrono::milliseconds(timeout_ms), can_go)) {
        return false;
    }
    if (closed_) {
        return false;
    }
    out = messages_.front();
    messages_.pop_front();
    return true;
}

int32_t MessageQueue::Pending() {
    std::lock_guard lock(mutex_);
    const size_t count = messages_.size();
    const auto limit = static_cast<size_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(count < limit ? count : limit);
}

void MessageQueue::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        messages_.clear();
    }
    ready_.notify_all();
}

} // namespace tl::wm
