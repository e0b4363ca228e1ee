#include "tlhost/task_key.hpp"

#include "tlcommon/text_codec.hpp"
#include "tlhost/host_error.hpp"

#include <fmt/format.h>

namespace tl::host {
namespace {

constexpr std::string_view kPrefix = "\\Scripts\\";

[[noreturn]] void Reject(std::string_view key, std::string_view why) {
    throw UsageError(fmt::format("malformed task key \"{}\": {}; expected \\Scripts\\NAME\\", key, why));
}

} // namespace

std::string NormalizeTaskKey(std::string_view key) {
    if (!key.starts_with(kPrefix)) {
        Reject(key, "it must begin with \\Scripts\\");
    }
    std::string_view name = key.substr(kPrefix.size());
    if (name.ends_with('\\')) {
        name.remove_suffix(1);
    }
    if (name.empty()) {
        Reject(key, "the scenario name is empty");
    }
    if (name.find_first_of("\\:") != std::string_view::npos) {
        Reject(key, "the scenario name holds a backslash or a colon");
    }
    if (Cp1251ToUtf8(Utf8ToCp1251(name)) != name) {
        Reject(key, "the scenario name holds characters outside Windows-1251");
    }
    return fmt::format("{}{}\\", kPrefix, name);
}

} // namespace tl::host
