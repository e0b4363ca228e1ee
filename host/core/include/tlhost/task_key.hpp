// Task keys as the host scheduler names tasks: "\Scripts\NAME\".
#pragma once

#include <string>
#include <string_view>

namespace tl::host {

// The key with its trailing backslash (added when missing). Throws HostError explaining the
// expected form for anything else: another prefix, an empty name, a name with a backslash or
// colon, or characters that Windows-1251 cannot carry to the driver.
std::string NormalizeTaskKey(std::string_view key);

} // namespace tl::host
