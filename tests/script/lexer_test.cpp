// The lexer: literal values, comments, switches and the texts of malformed input.
#include "diagnostics.hpp"
#include "lexer.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::script {
namespace {

struct Lexed {
    std::vector<Token> tokens;
    std::string errors;
};

Lexed Lex(std::string_view text, SourceStore& sources, MessageList& list) {
    Diagnostics diag(list, sources);
    static const std::vector<std::string> kNoDirs;
    Lexer lexer(text, kNoDirs, diag, sources);
    Lexed result;
    for (Token t = lexer.Next(); t.kind != Tok::Eof; t = lexer.Next()) {
        result.tokens.push_back(t);
    }
    for (const Message& m : list) {
        result.errors += m.OneLine() + "\n";
    }
    return result;
}

struct LiteralCase {
    const char* text;
    Tok kind;
    int64_t int_value;
    double float_value;
    const char* string_value;
};

class LiteralTest : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(LiteralTest, HasItsValue) {
    const LiteralCase& c = GetParam();
    SourceStore sources;
    MessageList list;
    Lexed lexed = Lex(c.text, sources, list);
    ASSERT_EQ(lexed.errors, "");
    ASSERT_EQ(lexed.tokens.size(), 1u) << c.text;
    const Token& t = lexed.tokens[0];
    EXPECT_EQ(t.kind, c.kind);
    if (c.kind == Tok::IntLiteral) {
        EXPECT_EQ(t.int_value, c.int_value);
    } else if (c.kind == Tok::FloatLiteral) {
        EXPECT_DOUBLE_EQ(t.float_value, c.float_value);
    } else {
        EXPECT_EQ(t.value, c.string_value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Literals, LiteralTest,
    ::testing::Values(
        LiteralCase{"42", Tok::IntLiteral, 42, 0, ""}, LiteralCase{"$1A", Tok::IntLiteral, 26, 0, ""},
        LiteralCase{"$ff", Tok::IntLiteral, 255, 0, ""}, LiteralCase{"$FFFFFFFF", Tok::IntLiteral, -1, 0, ""},
        LiteralCase{"3000000000", Tok::IntLiteral, 3000000000, 0, ""},
        LiteralCase{"1.5", Tok::FloatLiteral, 0, 1.5, ""}, LiteralCase{"1e5", Tok::FloatLiteral, 0, 1e5, ""},
        LiteralCase{"1.5E-3", Tok::FloatLiteral, 0, 1.5e-3, ""},
        LiteralCase{"2e+2", Tok::FloatLiteral, 0, 200, ""},
        LiteralCase{"'it''s'", Tok::StringLiteral, 0, 0, "it's"},
        LiteralCase{"''", Tok::StringLiteral, 0, 0, ""},
        LiteralCase{"'a'#13#10'b'", Tok::StringLiteral, 0, 0, "a\r\nb"},
        LiteralCase{"#$41#66", Tok::StringLiteral, 0, 0, "AB"},
        // Quoted text becomes Windows-1251; #nnn is a code
        LiteralCase{"'строка'", Tok::StringLiteral, 0, 0, "\xF1\xF2\xF0\xEE\xEA\xE0"},
        LiteralCase{"'Ёж'#255'x'", Tok::StringLiteral, 0, 0, "\xA8\xE6\xFFx"}));

TEST(LexerTest, RangeAfterIntegerIsNotAFloat) {
    SourceStore sources;
    MessageList list;
    Lexed lexed = Lex("1..3", sources, list);
    ASSERT_EQ(lexed.tokens.size(), 3u);
    EXPECT_EQ(lexed.tokens[0].kind, Tok::IntLiteral);
    EXPECT_EQ(lexed.tokens[1].kind, Tok::DotDot);
    EXPECT_EQ(lexed.tokens[2].kind, Tok::IntLiteral);
}

TEST(LexerTest, KeywordsIgnoreCaseAndCommentsVanish) {
    SourceStore sources;
    MessageList list;
    Lexed lexed = Lex("BeGiN // line\n{ brace } (* paren\n *) eNd", sources, list);
    ASSERT_EQ(lexed.tokens.size(), 2u);
    EXPECT_EQ(lexed.tokens[0].kind, Tok::KwBegin);
    EXPECT_EQ(lexed.tokens[1].kind, Tok::KwEnd);
    EXPECT_EQ(lexed.tokens[1].pos.line, 3);
    EXPECT_EQ(lexed.tokens[1].pos.column, 5);
}

TEST(LexerTest, ColumnsCountCharactersNotBytes) {
    SourceStore sources;
    MessageList list;
    Lexed lexed = Lex("'жжж' x", sources, list);
    ASSERT_EQ(lexed.tokens.size(), 2u);
    EXPECT_EQ(lexed.tokens[1].pos.column, 7);
}

struct BadInput {
    const char* text;
    const char* error;
};

class LexerErrorTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(LexerErrorTest, ReportsTheEngineText) {
    SourceStore sources;
    MessageList list;
    Lexed lexed = Lex(GetParam().text, sources, list);
    EXPECT_EQ(lexed.errors, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, LexerErrorTest,
    ::testing::Values(
        BadInput{"'abc", "Синтаксическая ошибка: End of string constant not found (end of line) [строка: 1, "
                         "столбец: 1]\n"},
        BadInput{
            "x := 12ab",
            "Синтаксическая ошибка: Неверная целочисленная константа \"12ab\" [строка: 1, столбец: 6]\n"},
        BadInput{
            "$",
            "Синтаксическая ошибка: Неверная шестнадцатеричная константа \"$\" [строка: 1, столбец: 1]\n"},
        BadInput{"$123456789",
                 "Синтаксическая ошибка: Неверная шестнадцатеричная константа \"$123456789\" [строка: 1, "
                 "столбец: 1]\n"},
        BadInput{"#300",
                 "Синтаксическая ошибка: Неверная символная константа \"#300\" [строка: 1, столбец: 1]\n"},
        BadInput{"x ? y", "Синтаксическая ошибка: Неверный символ [строка: 1, столбец: 3]\n"},
        BadInput{"{$R+}", "Синтаксическая ошибка: Compilerswitch \"R+\" unknown [строка: 1, столбец: 1]\n"},
        BadInput{"{ open", "Синтаксическая ошибка: Незакрытый комментарий [строка: 1, столбец: 1]\n"},
        BadInput{
            "99999999999999999999",
            "Синтаксическая ошибка: Неверная целочисленная константа \"99999999999999999999\" [строка: 1, "
            "столбец: 1]\n"}));

} // namespace
} // namespace tl::script
