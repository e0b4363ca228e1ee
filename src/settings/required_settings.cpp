#include "tlsettings/required_settings.hpp"

#include "tlsettings/task_keys.hpp"

namespace tl::settings {

bool HasRequiredSettings(TSvcConfig& config, std::string_view task_section) {
    if (!config.ValueExists(task_section, kDeepBase) || !config.ValueExists(task_section, kMethod) ||
        !config.ValueExists(task_section, kAdvParNumber)) {
        return false;
    }
    if (!config.ReadBool(task_section, kAdvParNumber, false)) {
        return true;
    }
    if (!config.ValueExists(task_section, kDeepAdv) || !config.ValueExists(task_section, kParNumber)) {
        return false;
    }
    // A stored value that is no integer reads as the default, which the range refuses.
    const int32_t par_number = config.ReadInteger(task_section, kParNumber, -1);
    return par_number >= 0 && par_number <= kMaxParNumber;
}

} // namespace tl::settings
