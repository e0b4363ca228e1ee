// Strings inside running scripts are Windows-1251 bytes: one byte a character, Cyrillic letters
// included, and UTF-8 again wherever text leaves the program.
#include "ansi_text.hpp"
#include "script_test_util.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlscript/call_frame.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

using testing::RunScript;

struct TextCase {
    const char* expression;
    const char* printed;
};

// Characters, not bytes; the plain case functions change Latin letters only; the plain comparisons
// go by byte, the Ansi ones by the alphabet with Ё after Е; Russian names of months and days.
TEST(CyrillicTextTest, Evaluates) {
    const std::vector<TextCase> cases = {
        {"Length('яблоко')", "6"},
        {"Copy('трансформатор', 6, 5)", "форма"},
        {"Pos('форм', 'трансформатор')", "6"},
        {"CharAt('фидер', 2)", "и"},
        {"Ord('я')", "255"},
        {"Ord('Ё')", "168"},
        {"Chr(192) + 'x'", "Аx"},
        {"#192#255", "Ая"},
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
        {"'0123456789я' + 'Ж€中'", "0123456789яЖ€?"}};
    for (const TextCase& c : cases) {
        auto result = RunScript(std::string("Print(") + c.expression + ");");
        EXPECT_EQ(result.messages, "") << c.expression;
        EXPECT_EQ(result.output, c.printed) << c.expression;
    }
}

// Var-parameter edits count characters; Variants and Chars print as UTF-8.
TEST(CyrillicTextTest, EditsAndPrints) {
    auto result = RunScript("var s, t: String;\n"
                            "s := 'подстанция'; t := s;\n"
                            "Delete(s, 1, 3); PrintLn(s);\n"
                            "Insert('под', s, 1); PrintLn(s);\n"
                            "SetCharAt(s, 1, 'П'); s[2] := 'О'; PrintLn(s);\n"
                            "PrintLn(t);\n"
                            "var v: Variant; c: Char; v := 'ёж'; c := 'щ'; PrintLn(v); PrintLn(c);");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "станция\r\nподстанция\r\nПОдстанция\r\nподстанция\r\nёж\r\nщ\r\n");
}

// Every character of the code page prints as its UTF-8 form, whichever way it was made.
TEST(CyrillicTextTest, PrintingRoundTripsEveryCharacter) {
    std::string bytes;
    for (int b = 32; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    std::string utf8 = Cp1251ToUtf8(bytes);
    auto by_code = RunScript("var i: Integer; for i := 32 to 255 do Print(Chr(i));");
    EXPECT_EQ(by_code.output, utf8);
    // 0x98 has no character; the rest survive a literal.
    std::string literal = Cp1251ToUtf8(bytes.substr(0, 0x98 - 32)) + Cp1251ToUtf8(bytes.substr(0x99 - 32));
    std::string quoted;
    for (char c : literal) {
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    }
    auto by_literal = RunScript("var s: String; s := '" + quoted + "'; PrintLn(s); Print(Length(s));");
    EXPECT_EQ(by_literal.messages, "");
    EXPECT_EQ(by_literal.output, literal + "\r\n" + std::to_string(bytes.size() - 1));
}

TEST(CyrillicTextTest, ExceptionTextsLeaveAsUtf8) {
    auto caught = RunScript("try raise Exception.Create('сбой'); except on E: Exception do "
                            "Print(IntToStr(Length(E.Message)) + E.Message); end;");
    EXPECT_EQ(caught.output, "4сбой");
    auto uncaught = RunScript("raise Exception.Create('сбой ёмкости');");
    EXPECT_EQ(testing::FirstMessage(uncaught), "Ошибка при выполнении: сбой ёмкости [строка: 1, столбец: 1]");
}

// Host functions speak UTF-8 in both directions.
void Echo(CallFrame& f) {
    f.ReturnString(std::string(f.String(0)) + "|" + std::to_string(f.String(0).size()));
}
void Shout(CallFrame& f) {
    f.Raise(std::string("ошибка: ") + std::string(f.String(0)));
}
void Rename(CallFrame& f) {
    f.SetStringRef(0, "узел");
}

TEST(CyrillicTextTest, HostFunctionsSeeUtf8) {
    Engine engine;
    engine.RegisterFunction({"MyUnit", "Echo", {{ValueType::String}}, ValueType::String, Echo});
    engine.RegisterFunction({"MyUnit", "Shout", {{ValueType::String}}, ValueType::Void, Shout});
    engine.RegisterFunction({"MyUnit", "Rename", {{ValueType::String, true}}, ValueType::Void, Rename});
    engine.RegisterConstant({"MyUnit", "Station", ValueType::String, 0, 0, "ПС-1"});
    auto result =
        RunScript(engine, "var s: String;\n"
                          "s := Echo('ёж'); PrintLn(s); PrintLn(Length(s));\n"
                          "Rename(s); PrintLn(s + IntToStr(Length(s)));\n"
                          "PrintLn(Station + IntToStr(Length(Station)));\n"
                          "try Shout('тп'); except on E: Exception do PrintLn(Length(E.Message)); end;");
    EXPECT_EQ(result.messages, "");
    // "ёж" reaches the host as 4 UTF-8 bytes and comes back as 2 + 1 + 1 characters.
    EXPECT_EQ(result.output, "ёж|4\r\n4\r\nузел4\r\nПС-14\r\n10\r\n");
}

// Exactly the letters with both cases in the code page change case (26 Latin, 33 Russian, 14 other
// Cyrillic, as Unicode maps them); every other byte stays as it is, µ included.
TEST(AnsiTextTest, CaseMapsExactlyTheLettersOfTheCodePage) {
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
    }
}

} // namespace
} // namespace tl::script
