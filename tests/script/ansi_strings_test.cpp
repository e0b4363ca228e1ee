// Strings inside running scripts are Windows-1251 bytes: one byte a character, Cyrillic letters
// included, and UTF-8 again wherever text leaves the program (host functions: HostApiTest).
#include "ansi_text.hpp"
#include "script_test_util.hpp"
#include "tlcommon/text_codec.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

using testing::ExpectOutputs;
using testing::RunScript;

// Characters, not bytes; the plain case functions change Latin letters only; the plain comparisons
// go by byte, the Ansi ones by the alphabet with Ё after Е; Russian names of months and days.
// Every Windows-1251 character's UTF-8 form is CaseAndUtf8OfEveryByte's.
TEST(CyrillicTextTest, Evaluates) {
    ExpectOutputs({{"Length('яблоко')", "6"},
                   {"Copy('трансформатор', 6, 5)", "форма"},
                   {"Pos('форм', 'трансформатор')", "6"},
                   {"CharAt('фидер', 2)", "и"},
                   {"Ord('я')", "255"},
                   {"Ord('Ё')", "168"},
                   {"Chr(192) + #255", "Ая"},
                   {"Length(Trim('  тп  '))", "2"},
                   {"QuotedStr('ток')", "'ток'"},
                   {"LastDelimiter('ё', 'ёлка ёж')", "6"},
                   {"IsDelimiter('ъь', 'объект', 3)", "True"},
                   {"UpperCase('линия l1')", "линия L1"},
                   {"LowerCase('ЛИНИЯ AB')", "ЛИНИЯ ab"},
                   {"AnsiUpperCase('линия ёж l1')", "ЛИНИЯ ЁЖ L1"},
                   {"AnsiLowerCase('ЛИНИЯ ЁЖ L1')", "линия ёж l1"},
                   {"CompareText('Я', 'я') <> 0", "True"},
                   {"AnsiCompareText('ёЖ', 'ЁЖ')", "0"},
                   {"('а' < 'б') and ('я' > 'z')", "True"},
                   {"(AnsiCompareStr('е', 'ё') < 0) and (AnsiCompareStr('ё', 'ж') < 0)", "True"},
                   {"CompareStr('ё', 'а') < 0", "True"},
                   {"AnsiCompareText('ёлка', 'ЕЛКА') > 0", "True"},
                   {"FormatDateTime('mmmm', EncodeDate(2024, 2, 1))", "Февраль"},
                   {"FormatDateTime('ddd dddd mmm', EncodeDate(2024, 2, 1))", "Чт четверг фев"},
                   {"FormatDateTime('dddddd', EncodeDate(2024, 2, 1))", "1 февраля 2024 г."},
                   {"Length(FormatDateTime('mmmm', EncodeDate(2024, 9, 1)))", "8"},
                   // ASCII runs of eight bytes and more, then what Windows-1251 lacks becomes '?'.
                   {"'0123456789я' + 'Ж€中'", "0123456789яЖ€?"}},
                  "Print(", ");");
    // Var-parameter edits count characters; Variants, Chars and exception texts print as UTF-8.
    ExpectOutputs(
        {{"var s, t: String;\ns := 'подстанция'; t := s; Delete(s, 1, 3); PrintLn(s);\n"
          "Insert('под', s, 1); PrintLn(s); SetCharAt(s, 1, 'П'); s[2] := 'О'; PrintLn(s); PrintLn(t);\n"
          "var v: Variant; c: Char; v := 'ёж'; c := 'щ'; PrintLn(v); PrintLn(c);",
          "станция\r\nподстанция\r\nПОдстанция\r\nподстанция\r\nёж\r\nщ\r\n"},
         {"try raise Exception.Create('сбой'); except on E: Exception do "
          "Print(IntToStr(Length(E.Message)) + E.Message); end;",
          "4сбой"}});
    EXPECT_EQ(testing::FirstMessage(RunScript("raise Exception.Create('сбой ёмкости');")),
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
