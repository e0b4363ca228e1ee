// Counts Ctrl-C (SIGINT) and SIGTERM while it lives, instead of letting them end the process.
#pragma once

#include <csignal>

namespace tl::host {

class InterruptCounter {
public:
    InterruptCounter();
    ~InterruptCounter();
    InterruptCounter(const InterruptCounter&) = delete;
    InterruptCounter& operator=(const InterruptCounter&) = delete;

    int Count() const;

private:
    struct sigaction old_int_ {};
    struct sigaction old_term_ {};
};

} // namespace tl::host
