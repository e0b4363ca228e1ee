// A fixture whose tasks talk to a fake host: completions to a queue of the test's own, status
// lines to the fake's callback, run logs and the element-state log to a scratch directory.
#pragma once

#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "tldata/element_state_log.hpp"
#include "tldriver/host_link.hpp"
#include "tlplatform/wm.h"

#include <gtest/gtest.h>
#include <vector>

namespace tl::test {

class LinkedTest : public ::testing::Test {
protected:
    explicit LinkedTest(uint32_t message = 1) : state_log_(dir_.Path() + "driver_modi.log") {
        FakeHost::StatusLines().clear();
        window_ = WmCreateQueue();
        link_.service.Reset(host_.Service());
        link_.status_callback = &FakeHost::StatusCallback;
        link_.completion = {window_, message};
        link_.log_directory = dir_.Path();
        link_.state_log = &state_log_;
    }
    ~LinkedTest() override { WmDestroyQueue(window_); }
    std::vector<Completion> Completions() { return TakeCompletions(window_); }

    TempDir dir_;
    FakeHost host_;
    ElementStateLog state_log_;
    HostLink link_;
    uint32_t window_ = 0;
};

} // namespace tl::test
