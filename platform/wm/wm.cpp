// The process-wide registry of queues. A getter holds its queue by shared_ptr, so destroying a
// queue while someone waits on it is safe: the waiter wakes and gets false.
#include "tlplatform/wm.h"

#include "message_queue.hpp"

#include <limits>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

using tl::wm::MessageQueue;

class Registry {
public:
    // 0 when every handle has been handed out once: handles are never reused.
    uint32_t Create() {
        auto queue = std::make_shared<MessageQueue>();
        std::lock_guard lock(mutex_);
        if (next_handle_ == 0) {
            return 0;
        }
        const uint32_t handle = next_handle_;
        queues_.emplace(handle, std::move(queue));
        next_handle_ = handle == std::numeric_limits<uint32_t>::max() ? 0 : handle + 1;
        return handle;
    }

    std::shared_ptr<MessageQueue> Find(uint32_t handle) {
        std::lock_guard lock(mutex_);
        const auto it = queues_.find(handle);
        return it == queues_.end() ? nullptr : it->second;
    }

    std::shared_ptr<MessageQueue> Remove(uint32_t handle) {
        std::lock_guard lock(mutex_);
        const auto it = queues_.find(handle);
        if (it == queues_.end()) {
            return nullptr;
        }
        auto queue = std::move(it->second);
        queues_.erase(it);
        return queue;
    }

private:
    std::mutex mutex_;
    std::unordered_map<uint32_t, std::shared_ptr<MessageQueue>> queues_;
    uint32_t next_handle_ = 1;
};

// Never destroyed: threads may still post or wait while the process exits.
Registry& Queues() {
    static auto* registry = new Registry;
    return *registry;
}

} // namespace

extern "C" {

uint32_t WmCreateQueue(void) {
    try {
        return Queues().Create();
    } catch (...) {
        return 0;
    }
}

void WmDestroyQueue(uint32_t window) {
    try {
        if (auto queue = Queues().Remove(window)) {
            queue->Close();
        }
    } catch (...) {
        // A lock that cannot be taken leaves the queue as it was.
    }
}

bool WmPostMessage(uint32_t window, uint32_t message, intptr_t wparam, intptr_t lparam) {
    try {
        const auto queue = Queues().Find(window);
        return queue != nullptr && queue->Post(TlWmMessage{window, message, wparam, lparam});
    } catch (...) {
        return false;
    }
}

bool WmGetMessage(uint32_t window, TlWmMessage* out, int32_t timeout_ms) {
    if (out == nullptr) {
        return false;
    }
    try {
        const auto queue = Queues().Find(window);
        return queue != nullptr && queue->Get(*out, timeout_ms);
    } catch (...) {
        return false;
    }
}

int32_t WmPendingCount(uint32_t window) {
    try {
        const auto queue = Queues().Find(window);
        return queue == nullptr ? 0 : queue->Pending();
    } catch (...) {
        return 0;
    }
}

} // extern "C"
