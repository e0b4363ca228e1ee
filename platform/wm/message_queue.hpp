// One message queue: a mutex-guarded FIFO whose getters wait on a condition variable.
#pragma once

#include "tlplatform/wm.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace tl::wm {

class MessageQueue {
public:
    // False once the queue is closed.
    bool Post(const TlWmMessage& message);
    // Waits up to timeout_ms (negative: forever) for a message; false on timeout or when the
    // queue is closed meanwhile.
    bool Get(TlWmMessage& out, int32_t timeout_ms);
    int32_t Pending();
    // Drops the waiting messages, refuses further posts and wakes every waiting getter.
    void Close();

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<TlWmMessage> messages_;
    bool closed_ = false;
};

} // namespace tl::wm
