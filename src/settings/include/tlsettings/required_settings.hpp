// Whether a task section holds the settings a run cannot do without.
#pragma once

#include "tlsettings/svc_config.hpp"

#include <string_view>

namespace tl::settings {

// True when DeepBase, Method and AdvParNumber are stored and, with AdvParNumber on, DeepAdv and
// ParNumber are stored too and ParNumber is 0..7.
bool HasRequiredSettings(TSvcConfig& config, std::string_view task_section);

} // namespace tl::settings
