#include "tldriver/host_link.hpp"

#include "tlcommon/date_time.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlplatform/wm.h"

#include <cmath>

namespace tl {

void HostLink::SendStatus(std::string_view scenario, std::string_view line) const {
    if (status_callback == nullptr) {
        return;
    }
    const std::string scenario_text = Utf8ToCp1251(scenario);
    const std::string line_text = Utf8ToCp1251(line);
    status_callback(scenario_text.c_str(), line_text.c_str());
}

double HostLink::Now() const {
    return clock.has_value() ? *clock : tl::Now();
}

double HostLink::Today() const {
    return std::floor(Now());
}

void HostLink::PostCompletion(int32_t task_id, int32_t code) const {
    WmPostMessage(completion.window, completion.message, static_cast<intptr_t>(task_id),
                  static_cast<intptr_t>(code));
}

} // namespace tl
