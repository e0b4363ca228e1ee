// Program lifecycle: fresh data per execution, message clearing, include directories and the data
// bound. The time limit ends fuzz_regressions/endless_loop.pas, uncatchable.
#include "script_test_util.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

TEST(ProgramTest, EveryExecutionStartsFromFreshVariables) {
    Engine engine;
    auto program = engine.Compile("var n: Integer; s: String; k: Integer = 5; a: array [1..2] of Float;\n"
                                  "Inc(n); s := s + 'x'; k := k + 1; a[1] := a[1] + 1;\n"
                                  "Print(n); Print(s); Print(k); Print(a[1]);");
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(program->Execute());
        EXPECT_EQ(program->Output(), "1x61");
    }
}

// Execution messages are cleared at each execution (RunsCleanlyAgainAfter...); compile messages
// stay.
TEST(ProgramTest, CompileMessagesStayAndRefuseEveryExecution) {
    Engine engine;
    auto broken = engine.Compile("x := 1;");
    EXPECT_FALSE(broken->Execute());
    EXPECT_FALSE(broken->Execute());
    EXPECT_EQ(broken->Messages().ToText(),
              "Синтаксическая ошибка: Неизвестное имя \"x\" [строка: 1, столбец: 1]\n"
              "Ошибка: Скрипт откомпилирован с ошибками. Невозможно выполнить!\n");
    EXPECT_TRUE(broken->HasExecutionErrors());
}

// The stack of calls and handlers an uncaught error leaves is unwound before the next execution.
TEST(ProgramTest, RunsCleanlyAgainAfterAnUncaughtErrorInsideCallsAndHandlers) {
    Engine engine;
    auto program = engine.Compile("var runs: Integer;\n"
                                  "procedure Deep(n: Integer); var s: String; begin s := IntToStr(n);\n"
                                  "  if n = 0 then raise Exception.Create('bottom') else Deep(n - 1); end;\n"
                                  "Inc(runs);\n"
                                  "try Deep(50); except on E: Exception do Deep(3); end;");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(program->Execute());
        EXPECT_EQ(program->Messages().ToText(), "Ошибка при выполнении: bottom [строка: 3, столбец: 17]\n");
    }
}

// An error inside an included file names the file; paths that leave the include directories, even
// to come back, and symbolic links that lead out of them are refused like missing files.
TEST(IncludeTest, ErrorsNameTheFileAndPathsStayInsideTheDirectories) {
    const auto dir = std::filesystem::temp_directory_path() / ("tlscript_inc_" + std::to_string(::getpid()));
    const auto outside = dir.string() + "_outside";
    std::filesystem::create_directories(dir / "sub");
    std::filesystem::create_directories(outside);
    std::ofstream(dir / "common.inc") << "var shared: Integer = 41;\n";
    std::ofstream(dir / "sub" / "bad.inc") << "\nshared := 'x';\n";
    std::ofstream(outside + "/secret.inc") << "Print(1);\n";
    std::filesystem::create_symlink(dir / "common.inc", dir / "alias.inc");
    std::filesystem::create_symlink(outside + "/secret.inc", dir / "escape.inc");
    std::filesystem::create_directory_symlink(outside, dir / "out");
    EngineSettings settings;
    settings.include_dirs = {dir.string()};
    Engine engine(settings);
    EXPECT_EQ(RunScript(engine, "{$I common.inc}\n{$INCLUDE sub/bad.inc}").messages,
              "Синтаксическая ошибка: Несовместимые типы: Невозможно присвоить \"String\" к \"Integer\" "
              "[строка: 2, столбец: 11, файл: sub/bad.inc]\n");
    EXPECT_EQ(RunScript(engine, "{$INCLUDE 'alias.inc'} Print(shared);").output, "41");
    for (const std::string& name :
         {(dir / "common.inc").string(), std::string("../common.inc"), std::string("sub/../common.inc"),
          std::string("missing.inc"), std::string("escape.inc"), std::string("out/secret.inc")}) {
        EXPECT_EQ(FirstMessage(RunScript(engine, "{$I " + name + "}")),
                  "Синтаксическая ошибка: Couldn't find file \"" + name +
                      "\" on input paths [строка: 1, столбец: 1]");
    }
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(outside);
}

TEST(LimitTest, RecursionWithLargeFramesStopsAtTheDataBound) {
    EngineSettings settings;
    settings.max_data_bytes = 8 * 1024 * 1024;
    Engine engine(settings);
    auto result = RunScript(engine, "var depth: Integer;\n"
                                    "procedure R; var a: array [1..100000] of Float; begin Inc(depth); "
                                    "a[1] := depth; R; end;\n"
                                    "try R; except on E: Exception do Print(E.Message); end; Print(depth);");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "Stack overflow10");
    EXPECT_EQ(
        FirstMessage(RunScript(engine, "var a: array [1..2000000] of Float;")),
        "Синтаксическая ошибка: Слишком большой объём данных: больше 8388608 байт [строка: 1, столбец: 5]");
}

} // namespace
} // namespace tl::script
