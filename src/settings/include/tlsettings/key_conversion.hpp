// The one-time conversion of element keys from the older "object.item" form to
// "object.0.item", marked done per method by UpdateFormat0 / UpdateFormat1 in the task section.
#pragma once

#include "tlsettings/svc_config.hpp"

#include <string_view>

namespace tl::settings {

// Converts the element section of method index `method` unless its UpdateFormat key says it is
// done. A rename the service declines is not a failure (the key keeps its old name); an error of
// the service stops the pass and leaves the mark set, so the next load or run tries again, and
// yields false.
bool ConvertElementKeys(TSvcConfig& config, int method, std::string_view task_section,
                        std::string_view element_section);

} // namespace tl::settings
