// Element keys of an element section: the element address written "%d.%d.%d".
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tl::settings {

struct ElementAddress {
    int32_t object_code = 0;
    int32_t element_type = 0;
    int32_t item = 0;

    auto operator<=>(const ElementAddress&) const = default;
};

// The address of a key of exactly three decimal integers separated by ".", none of them -1;
// anything else is not an element.
std::optional<ElementAddress> ParseElementKey(std::string_view key);
std::string ElementKey(const ElementAddress& address);

} // namespace tl::settings
