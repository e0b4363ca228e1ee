// The lexer: literal values at their limits (the corpus's 111/112 lex_ cases print the common
// ones), the reserved words, and the texts and places of malformed input.
#include "diagnostics.hpp"
#include "lexer.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tl::script {
namespace {

// The tokens of one text and its error messages; string values point into the sources.
struct Lexed {
    SourceStore sources;
    MessageList list;
    std::vector<Token> tokens;
    std::string errors;
};

std::unique_ptr<Lexed> Lex(std::string_view text) {
    auto result = std::make_unique<Lexed>();
    Diagnostics diag(result->list, result->sources);
    static const std::vector<std::string> kNoDirs;
    Lexer lexer(text, kNoDirs, diag, result->sources);
    for (Token t = lexer.Next(); t.kind != Tok::Eof; t = lexer.Next()) {
        result->tokens.push_back(t);
    }
    for (const Message& m : result->list) {
        result->errors += m.OneLine() + "\n";
    }
    return result;
}

TEST(LexerTest, LiteralsHaveTheirValues) {
    // text, kind, and its Integer, Float or String value
    const std::tuple<const char*, Tok, int64_t, double, const char*> cases[] = {
        {"$FFFFFFFF", Tok::IntLiteral, -1, 0, ""},
        {"3000000000", Tok::IntLiteral, 3000000000, 0, ""},
        // Whole numbers beyond 64 bits are Floats at every length.
        {"9223372036854775807", Tok::IntLiteral, INT64_MAX, 0, ""},
        {"9223372036854775808", Tok::FloatLiteral, 0, 9223372036854775808.0, ""},
        {"123456789012345678901234567890123456789", Tok::FloatLiteral, 0, 1.2345678901234568e38, ""},
        {"2e+2", Tok::FloatLiteral, 0, 200, ""},
        {"#$41#66", Tok::StringLiteral, 0, 0, "AB"}};
    for (const auto& [text, kind, int_value, float_value, string_value] : cases) {
        auto lexed = Lex(text);
        ASSERT_EQ(lexed->errors, "") << text;
        ASSERT_EQ(lexed->tokens.size(), 1u) << text;
        const Token& t = lexed->tokens[0];
        EXPECT_EQ(t.kind, kind) << text;
        if (kind == Tok::IntLiteral) {
            EXPECT_EQ(t.int_value, int_value) << text;
        } else if (kind == Tok::FloatLiteral) {
            EXPECT_DOUBLE_EQ(t.float_value, float_value) << text;
        } else {
            EXPECT_EQ(t.value, string_value) << text;
        }
    }
}

// The reserved words are exactly the language's list; program, uses, shl and shr are names.
TEST(LexerTest, ReservesExactlyTheLanguagesWords) {
    const std::string reserved =
        "and array abstract as begin break case cdecl class const constructor continue default destructor "
        "div do downto else end except exit external false fastcall finally for forward function if in "
        "inherited is mod nil not of on or override pascal private procedure property protected public "
        "published raise read record register reintroduce repeat stdcall then to true try type until var "
        "virtual while write xor";
    auto lexed = Lex(reserved + " program uses shl shr Program USES");
    const size_t words = static_cast<size_t>(std::count(reserved.begin(), reserved.end(), ' ')) + 1;
    ASSERT_EQ(words, 64u);
    ASSERT_EQ(lexed->tokens.size(), words + 6);
    for (size_t i = 0; i < lexed->tokens.size(); ++i) {
        EXPECT_EQ(lexed->tokens[i].kind == Tok::Identifier, i >= words) << lexed->tokens[i].text;
    }
}

TEST(LexerTest, MalformedInputGetsTheEngineText) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"'abc", "Синтаксическая ошибка: End of string constant not found (end of line) [строка: 1, "
                 "столбец: 1]\n"},
        {"x := 12ab",
         "Синтаксическая ошибка: Неверная целочисленная константа \"12ab\" [строка: 1, столбец: 6]\n"},
        {"$", "Синтаксическая ошибка: Неверная шестнадцатеричная константа \"$\" [строка: 1, столбец: 1]\n"},
        {"$123456789",
         "Синтаксическая ошибка: Неверная шестнадцатеричная константа \"$123456789\" [строка: 1, "
         "столбец: 1]\n"},
        {"#300", "Синтаксическая ошибка: Неверная символная константа \"#300\" [строка: 1, столбец: 1]\n"},
        // Lines go on across comments; columns count characters, not bytes.
        {"// line\n{ brace } (* paren\n *) 'жжж' ?",
         "Синтаксическая ошибка: Неверный символ [строка: 3, столбец: 11]\n"},
        {"{$R+}", "Синтаксическая ошибка: Compilerswitch \"R+\" unknown [строка: 1, столбец: 1]\n"},
        {"{ open", "Синтаксическая ошибка: Незакрытый комментарий [строка: 1, столбец: 1]\n"},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(Lex(text)->errors, error) << text;
    }
}

} // namespace
} // namespace tl::script
