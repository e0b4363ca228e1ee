#include "tlplatform/revi.h"

#include "tlcommon/date_time.hpp"

#include <atomic>

namespace {

std::atomic<int32_t> init_count{0};
std::atomic<double> last_init_time{0.0};

} // namespace

extern "C" {

int32_t Init(void) {
    // The moment first, so that whoever sees the new count also sees a moment at least as late.
    last_init_time.store(tl::Now());
    init_count.fetch_add(1);
    return 0;
}

int32_t ReviInitCount(void) {
    return init_count.load();
}

double ReviLastInitTime(void) {
    return last_init_time.load();
}

} // extern "C"
