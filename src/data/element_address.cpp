#include "tldata/element_address.hpp"

#include <fmt/format.h>

namespace tl {

std::string FormatAddress(const ElementAddress& address) {
    return fmt::format("{}.{}.{}", address.object, address.type, address.item);
}

} // namespace tl
