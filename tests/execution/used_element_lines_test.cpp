#include "tlexecution/used_element_lines.hpp"

#include <gtest/gtest.h>
#include <tuple>

namespace tl {
namespace {

TEST(UsedElementLines, CodesInHexadecimalAndDecimalAndSubDevicesOfMomentaryItems) {
    // element, its line among the used elements, its line among the momentary items (a common
    // sub-device is ArbitraryFormulaTest's)
    const std::tuple<ElementAddress, const char*, const char*> cases[] = {
        {{0x12345, 97, 0xFF0C},
         "$12345(74565).97.65292",
         "$12345(74565).97.65292 => SubDevice: [$12345(74565).98.255.12]"},
        // Only the second byte names a sub-device.
        {{7, 99, 0x10005}, "$0007(7).99.65541", "$0007(7).99.65541"},
        {{-1, 95, 0}, "$FFFFFFFF(-1).95.0", "$FFFFFFFF(-1).95.0"},
    };
    for (const auto& [element, used, momentary] : cases) {
        EXPECT_EQ(UsedElementLine(element), used) << used;
        EXPECT_EQ(MomentaryElementLine(element), momentary);
    }
}

} // namespace
} // namespace tl
