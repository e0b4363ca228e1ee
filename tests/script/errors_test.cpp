// Compile and run-time error texts and positions, as formula authors see them.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <pthread.h>
#include <utility>
#include <vector>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

// The first message's one-line form, after "Синтаксическая ошибка: ".
TEST(CompileErrorTest, ReportsTheExactText) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        // (an assignment of another type is IncludeTest's)
        {"var s: String; s := 'a' + 1;",
         "Несовместимые типы: \"String\" и \"Integer\" [строка: 1, столбец: 25]"},
        {"var i: Integer;\ni := 1\ni := 2;", "требуется \";\". [строка: 3, столбец: 1]"},
        {"begin PrintLn(1);", "требуется END [строка: 1, столбец: 18]"},
        {"var i: Integer; for i := 1 of 3 do ;", "требуется TO или DOWNTO [строка: 1, столбец: 28]"},
        {"var i: Integer; for i = 1 to 3 do ;", "требуется \":=\" [строка: 1, столбец: 23]"},
        {"1 + 2;", "Invalid Instruction - function or assignment expected [строка: 1, столбец: 1]"},
        {"var i: Integer; i;",
         "Invalid Instruction - function or assignment expected [строка: 1, столбец: 17]"},
        {"PrintLn(Sqrt(1, 2));", "Expected 1 parameters (instead of 2) [строка: 1, столбец: 9]"},
        {"PrintLn(Sqrt('x'));",
         "Argument 1 expects type \"Float\" instead of \"String\" [строка: 1, столбец: 14]"},
        {"if 1 then PrintLn(1);", "Требуется Boolean [строка: 1, столбец: 4]"},
        {"var i: Integer; for i := 1 to 2.5 do ;", "Требуется Integer выражение [строка: 1, столбец: 31]"},
        {"var n: Integer; var a: array [1..n] of Integer;",
         "Bound isn't a constant expression [строка: 1, столбец: 34]"},
        {"var a: array [1..2.5] of Integer;", "Bound isn't of type integer [строка: 1, столбец: 18]"},
        {"var a: array [3..1] of Integer;",
         "Lower bound is bigger than upper bound! [строка: 1, столбец: 15]"},
        {"break;", "break без for/while/repeat или case [строка: 1, столбец: 1]"},
        {"continue;", "continue без for/while/repeat или case [строка: 1, столбец: 1]"},
        {"uses Windows;", "Неизвестный модуль \"Windows\" [строка: 1, столбец: 6]"},
        {"const K = 1; K := 2;", "Нельзя присвоить значение \"K\" [строка: 1, столбец: 14]"},
        {"var a: array [0..1000000000] of array [1..1000] of Float;",
         "Слишком большой массив: 1000000001 элементов [строка: 1, столбец: 8]"},
        {"PrintLn(1 div 0);", "Division by zero [строка: 1, столбец: 11]"},
        // Var arguments: a constant, a string character and an exception's Message are no variables.
        {"Inc(5);", "Argument 1 expects a variable [строка: 1, столбец: 5]"},
        {"procedure P(var c: Char); begin end; var s: String; s := 'ab'; P(s[1]);",
         "Argument 1 expects a variable [строка: 1, столбец: 67]"},
        {"procedure P(var t: String); begin end; try except on E: Exception do P(E.Message); end;",
         "Argument 1 expects a variable [строка: 1, столбец: 74]"},
    };
    for (const auto& [source, message] : cases) {
        SCOPED_TRACE(source);
        auto result = RunScript(source);
        EXPECT_FALSE(result.compiled);
        EXPECT_EQ(FirstMessage(result), std::string("Синтаксическая ошибка: ") + message);
    }
}

TEST(CompileErrorTest, DeepNestingIsRefusedNotCrashing) {
    std::string parens = "PrintLn(" + std::string(100000, '(') + "1" + std::string(100000, ')') + ");";
    std::string blocks;
    std::string chain = "var x: Integer; x := 0";
    for (int i = 0; i < 200000; ++i) {
        blocks += i < 100000 ? "begin " : "end; ";
        chain += i < 100000 ? " + 1" : "";
    }
    chain += ";";
    for (const std::string& source : {parens, blocks, chain}) {
        auto result = RunScript(source);
        EXPECT_FALSE(result.compiled);
        EXPECT_NE(result.messages.find("Слишком"), std::string::npos) << result.messages.substr(0, 200);
        EXPECT_EQ(result.messages.find('\n'), result.messages.size() - 1) << "one message only";
    }
}

// The depth of nested calls, a limit of the engine: 1000 are allowed, one more is not. Calls of a
// Float function made by the Float code around them count as calls in tree form do (the same
// entry); the texts of caught errors are the differential corpus's own/014_error_classes_and_texts.
TEST(RuntimeErrorTest, NestedCallsStopAtTheirLimit) {
    testing::ExpectOutputs(
        Engine(), {{"Print(Depth(999) / 2);", "499.5"}, {"Print(Depth(1000) / 2);", "Stack overflow"}},
        "function Depth(n: Integer): Float;\n"
        "begin if n > 0 then Result := Depth(n - 1) + 1; end;\ntry\n",
        "\nexcept on E: Exception do Print(E.Message); end;");
}

// An error crosses the script calls above it as the calls return, also when the call stack runs
// out, and an uncaught one is reported where it was raised, also in a handler compiled once for
// the try statements whose handlers read the same. The other ways through calls, handlers and
// finally blocks are the differential corpus's own/015_errors_cross_calls.
TEST(RuntimeErrorTest, CrossesCallsAsRaisedDeepDown) {
    const std::string prelude =
        "var g: Integer; X: Exception;\n"
        "function Fail(n: Integer): Integer;\n"
        "begin if n = 0 then Result := 1 div n else Result := Fail(n - 1) + 1; g := g + 1; end;\n"
        "function Deep(n: Integer): Integer; begin Result := Deep(n + 1) + 1; end;\n"
        "function CatchAt(m, n: Integer): Integer; begin\n"
        "  if m > 0 then Result := CatchAt(m - 1, n) + 1\n"
        "  else try if n < 0 then Result := Deep(0) else Result := Fail(n);\n"
        "  except on E: Exception do Result := 100; end; end;\n"
        "function Reraise(n: Integer): Integer; begin try Result := Fail(n);\n"
        "  except on E: Exception do begin g := g + 10; raise E; end; end; end;\n";
    struct Case {
        const char* source;
        const char* output;
        const char* message; // the uncaught error, "" when none
    };
    const std::vector<Case> cases = {
        {"PrintLn(CatchAt(20, 900)); Print(CatchAt(5, -1)); Print(g);", "120\r\n1050", ""},
        // an error of a finally block replaces the one in flight
        {"try try Fail(3); finally Deep(0); end; except on E: Exception do Print(E.Message); end;",
         "Stack overflow", ""},
        // a division by the value of an abandoned call raises the call's error, where it was raised
        {"try g := 10 div Deep(0); except on E: Exception do Print(E.ClassName + ' ' + E.Message); end;",
         "EStackOverflow Stack overflow", ""},
        {"Print('s'); g := 10 div Fail(3); Print('t');", "s",
         "Ошибка при выполнении: Division by zero [строка: 3, столбец: 33]\n"},
        {"g := Deep(0);", "", "Ошибка при выполнении: Stack overflow [строка: 4, столбец: 53]\n"},
        {"Reraise(4);", "", "Ошибка при выполнении: Division by zero [строка: 10, столбец: 48]\n"},
        {"try g := 1 div (g - 1);\nexcept on E: Exception do PrintLn(X.Message); end;\n"
         "try\n  g := 1 div (g + 1);\nexcept on E: Exception do PrintLn(X.Message); end;",
         "", "Ошибка при выполнении: Access violation: the object is nil [строка: 15, столбец: 37]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        auto result = RunScript(prelude + c.source);
        EXPECT_EQ(result.output, c.output);
        EXPECT_EQ(result.messages, c.message);
    }
}

void* RunRecursion(void* result) {
    *static_cast<testing::RunResult*>(result) =
        RunScript("function F(n: Integer): Integer; begin Result := F(n + 1) + 1; end;\n"
                  "try F(0); except on E: Exception do Print(E.Message); end; Print(' still running');");
    return nullptr;
}

// A host may run scripts on a thread with a small stack: the guard follows that thread's stack (on
// the main thread, CrossesCallsAsRaisedDeepDown runs into it).
TEST(RuntimeErrorTest, UnboundedRecursionIsCaughtOnASmallThreadStack) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 512 * 1024), 0);
    testing::RunResult on_thread;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, RunRecursion, &on_thread), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(on_thread.messages, "");
    EXPECT_EQ(on_thread.output, "Stack overflow still running");
}

} // namespace
} // namespace tl::script
