#include "tlsettings/element_key.hpp"

#include "tlcommon/format_settings.hpp"

#include <array>
#include <fmt/format.h>

namespace tl::settings {

std::optional<ElementAddress> ParseElementKey(std::string_view key) {
    std::array<int32_t, 3> parts{};
    size_t start = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t end = i + 1 < parts.size() ? key.find('.', start) : key.size();
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const auto part = ParseIntStrict(key.substr(start, end - start));
        if (!part || *part == -1) {
            return std::nullopt;
        }
        parts[i] = *part;
        start = end + 1;
    }
    return ElementAddress{parts[0], parts[1], parts[2]};
}

std::string ElementKey(const ElementAddress& address) {
    return fmt::format("{}.{}.{}", address.object_code, address.element_type, address.item);
}

} // namespace tl::settings
