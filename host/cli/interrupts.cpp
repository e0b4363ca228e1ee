#include "interrupts.hpp"

namespace tl::host {
namespace {

volatile std::sig_atomic_t g_interrupts = 0;

extern "C" void OnInterrupt(int) {
    g_interrupts = g_interrupts + 1;
}

} // namespace

InterruptCounter::InterruptCounter() {
    g_interrupts = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &old_int_);
    sigaction(SIGTERM, &action, &old_term_);
}

InterruptCounter::~InterruptCounter() {
    sigaction(SIGINT, &old_int_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
}

int InterruptCounter::Count() const {
    return g_interrupts;
}

} // namespace tl::host
