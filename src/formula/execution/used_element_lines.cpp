#include "tlexecution/used_element_lines.hpp"

#include <cstdint>
#include <fmt/format.h>

namespace tl {
namespace {

// A negative code is written as its 32-bit two's complement, as the system's hexadecimal
// conversion does.
uint32_t HexOf(int32_t code) {
    return static_cast<uint32_t>(code);
}

} // namespace

std::string UsedElementLine(const ElementAddress& element) {
    return fmt::format("${:04X}({}).{}.{}", HexOf(element.object), element.object, element.type,
                       element.item);
}

std::string MomentaryElementLine(const ElementAddress& element) {
    std::string line = UsedElementLine(element);
    const uint32_t item = static_cast<uint32_t>(element.item);
    const uint32_t sub_device = (item >> 8) & 0xFFu;
    if (sub_device != 0) {
        fmt::format_to(std::back_inserter(line), " => SubDevice: [${:04X}({}).98.{}.{}]",
                       HexOf(element.object), element.object, sub_device, item & 0xFFu);
    }
    return line;
}

} // namespace tl
