#include "tlcommon/text_codec.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(TextCodec, RoundTripsRussianText) {
    const std::string utf8 = "Расчёт потерь электроэнергии №1";
    const std::string cp = Utf8ToCp1251(utf8);
    ASSERT_EQ(cp.size(), 31u);
    EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xD0);  // Р
    EXPECT_EQ(static_cast<unsigned char>(cp[4]), 0xB8);  // ё
    EXPECT_EQ(static_cast<unsigned char>(cp[29]), 0xB9); // №
    EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(TextCodec, UnrepresentableAndBrokenInputBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x82\xAC"
                           "b"),
              "a\x88"
              "b");                                   // the euro sign exists in 1251
    EXPECT_EQ(Utf8ToCp1251("x\xE4\xB8\xADy"), "x?y"); // a CJK character does not
    EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");
}

} // namespace
} // namespace tl
