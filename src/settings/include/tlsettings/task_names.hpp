// How a task's settings are addressed, derived from its task key ("\Scripts\<scenario>\").
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The task key without one trailing backslash, cut after its last backslash or colon.
std::string ScenarioName(std::string_view task_key);
// "\Scripts\<scenario>\Object\".
std::string TaskSection(std::string_view scenario_name);
// The task key followed by "Devices1\" (method 0) or "Devices2\" (method 1), as the run builds it.
std::string ElementSection(std::string_view task_key, int method);
// The task section with every "Object" replaced by "Devices1" or "Devices2", as the dialog builds
// it; the same name as ElementSection for a key of the form "\Scripts\<scenario>\".
std::string ElementSectionOfTaskSection(std::string_view task_section, int method);

} // namespace tl
