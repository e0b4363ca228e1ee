// libFuzzer target: takes each input as a task-settings JSON document for `tlhost settings import`.
// A refusal is fine; an accepted document must survive its JSON form and the settings store
// unchanged (see properties/settings_json_property.hpp). Anything else thrown is a crash.
#include "settings_json_property.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)tl::fuzz::CheckSettingsJsonImport(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
