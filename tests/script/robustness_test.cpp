// Whatever text arrives, compiling returns a program and executing it ends: broken variants of
// valid scripts (with a time limit for the ones that loop) must neither crash nor hang.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <random>

namespace tl::script {
namespace {

const char* const kSeeds[] = {
    "var i, n: Integer; a: array [1..5] of Float;\nfor i := 1 to 5 do a[i] := i / 2;\n"
    "while n < 3 do begin Inc(n); if n = 2 then continue; end;\nPrintLn(a[n]);",
    "function F(x: Float): Float; begin if x > 1 then Result := F(x / 2) + 1 else Result := x; end;\n"
    "try PrintLn(F(1000)); except on E: Exception do PrintLn(E.Message); end;",
    "type TR = record s: String; v: Variant; end; var r: TR; case 3 of 1..2: r.s := 'a'; else r.v := 'b' + "
    "#13#10; end;\nrepeat r.s := r.s + 'x' until Length(r.s) > 3; PrintLn(r.s);",
};

const char* const kPieces[] = {
    "begin", "end", ";",   "(",   ")",         "[",      "]",     ":=",    "if",     "then",
    "else",  "for", "to",  "do",  "while",     "repeat", "until", "try",   "except", "finally",
    "raise", "on",  "E:",  "var", "x",         "1",      "2.5",   "'s'",   "+",      "*",
    "/",     "div", "and", "not", "=",         "..",     ".",     ",",     "{",      "}",
    "(*",    "//",  "#",   "$",   "Exception", "Result", "exit",  "break", "nil"};

TEST(RobustnessTest, BrokenScriptsCompileToMessagesAndExecutionsEnd) {
    EngineSettings settings;
    settings.time_limit_ms = 200;
    Engine engine(settings);
    std::mt19937 random(20240229);
    int compiled = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text = kSeeds[round % 3];
        for (int edit = 0; edit < 1 + static_cast<int>(random() % 4); ++edit) {
            size_t at = random() % (text.size() + 1);
            switch (random() % 3) {
            case 0:
                text.insert(at, std::string(" ") + kPieces[random() % std::size(kPieces)] + " ");
                break;
            case 1:
                text.erase(at, random() % 6);
                break;
            default:
                text.insert(at, 1, static_cast<char>(random() % 256));
                break;
            }
        }
        auto program = engine.Compile(text);
        if (program->HasCompileErrors()) {
            EXPECT_GT(program->Messages().Count(), 0u);
            EXPECT_FALSE(program->Execute());
            continue;
        }
        ++compiled;
        program->Execute();
    }
    // The mutations are small: some variants still compile and run.
    EXPECT_GT(compiled, 0);
}

} // namespace
} // namespace tl::script
