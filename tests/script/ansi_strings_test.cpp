// Strings inside running scripts are Windows-1251 bytes: one byte a character, Cyrillic letters
// included, and UTF-8 again wherever text leaves the program (host functions: HostApiTest).
#include "ansi_text.hpp"
#include "script_test_util.hpp"
#include "tlcommon/text_codec.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

// An uncaught error's text leaves the program as UTF-8. What Cyrillic text does inside programs is
// the differential corpus's own/013_cyrillic_text.
TEST(CyrillicTextTest, AnUncaughtErrorsTextIsUtf8) {
    EXPECT_EQ(testing::FirstMessage(testing::RunScript("raise Exception.Create('сбой ёмкости');")),
              "Ошибка при выполнении: сбой ёмкости [строка: 1, столбец: 1]");
}

// Exactly the letters with both cases in the code page change case (26 Latin, 33 Russian, 14 other
// Cyrillic, as Unicode maps them); every other byte stays as it is, µ included. Every byte becomes
// the UTF-8 of the system's codec and, but for 0x98 (no character), comes back from it.
TEST(AnsiTextTest, CaseAndUtf8OfEveryByte) {
    const std::string lower =
        ToCp1251("abcdefghijklmnopqrstuvwxyzѓђљњќћџўіґёєјѕїабвгдежзийклмнопрстуфхцчшщъыьэюя");
    const std::string upper =
        ToCp1251("ABCDEFGHIJKLMNOPQRSTUVWXYZЃЂЉЊЌЋЏЎІҐЁЄЈЅЇАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    ASSERT_EQ(lower.size(), 73u);
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const size_t l = lower.find(c);
        const size_t u = upper.find(c);
        EXPECT_EQ(AnsiUpper(c), l == std::string::npos ? c : upper[l]) << byte;
        EXPECT_EQ(AnsiLower(c), u == std::string::npos ? c : lower[u]) << byte;
        const std::string one(1, c);
        EXPECT_EQ(ToUtf8(one), Cp1251ToUtf8(one)) << byte;
        EXPECT_EQ(ToCp1251(ToUtf8(one)), byte == 0x98 ? "?" : one) << byte;
    }
}

} // namespace
} // namespace tl::script
