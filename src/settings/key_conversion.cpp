#include "tlsettings/key_conversion.hpp"

#include "tlsettings/task_keys.hpp"

#include <exception>
#include <fmt/format.h>

namespace tl::settings {
namespace {

void ConvertKeys(TSvcConfig& config, std::string_view element_section) {
    for (const std::string& key : config.ReadSection(element_section)) {
        const size_t first = key.find('.');
        if (first == std::string::npos || key.find('.', first + 1) != std::string::npos) {
            continue; // not of the two-part form
        }
        // A rename the service declines (the three-part name is taken already) is no error: the
        // old key stays and fails on its own as an element when the list is read.
        (void)config.RenameParam(element_section, key,
                                 fmt::format("{}.{}.{}", key.substr(0, first), 0, key.substr(first + 1)));
    }
}

} // namespace

bool ConvertElementKeys(TSvcConfig& config, int method, std::string_view task_section,
                        std::string_view element_section) {
    const std::string mark = UpdateFormatKey(method);
    if (!config.ReadBool(task_section, mark, true)) {
        return true;
    }
    bool converted = true;
    try {
        ConvertKeys(config, element_section);
    } catch (const std::exception&) {
        converted = false;
    }
    try {
        config.WriteBool(task_section, mark, !converted);
    } catch (const std::exception&) {
        return false; // the mark may still say "to do": the next pass finds nothing left to rename
    }
    return converted;
}

} // namespace tl::settings
