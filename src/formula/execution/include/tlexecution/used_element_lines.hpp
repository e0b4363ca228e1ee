// The log lines of the elements that the collection pass found the formulas reading:
// "$001A(26).99.3" (object code in hexadecimal, at least four digits, and in decimal, then the type
// and the item); a momentary element whose item carries a sub-device number in its second byte
// also names the sub-device and the momentary code: "$001A(26).99.517 => SubDevice:
// [$001A(26).98.2.5]".
#pragma once

#include "tldata/element_address.hpp"

#include <string>

namespace tl {

std::string UsedElementLine(const ElementAddress& element);
std::string MomentaryElementLine(const ElementAddress& element);

} // namespace tl
