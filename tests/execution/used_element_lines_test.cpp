#include "tlexecution/used_element_lines.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(UsedElementLines, CodesInHexadecimalAndDecimalAndSubDevicesOfMomentaryItems) {
    struct Case {
        ElementAddress element;
        const char* used;
        const char* momentary;
    } const cases[] = {
        {{26, 99, 3}, "$001A(26).99.3", "$001A(26).99.3"},
        {{26, 99, 0x0205}, "$001A(26).99.517", "$001A(26).99.517 => SubDevice: [$001A(26).98.2.5]"},
        {{0x12345, 97, 0xFF0C},
         "$12345(74565).97.65292",
         "$12345(74565).97.65292 => SubDevice: [$12345(74565).98.255.12]"},
        // Only the second byte names a sub-device.
        {{7, 99, 0x10005}, "$0007(7).99.65541", "$0007(7).99.65541"},
        {{-1, 95, 0}, "$FFFFFFFF(-1).95.0", "$FFFFFFFF(-1).95.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UsedElementLine(c.element), c.used) << c.used;
        EXPECT_EQ(MomentaryElementLine(c.element), c.momentary);
    }
}

} // namespace
} // namespace tl
