// Float formulas compiled to byte code: the order in which operands and calls run, host calls as
// operands, errors with their texts and positions, and expressions too large for the byte code,
// which stay tree nodes.
#include "script_test_util.hpp"
#include "tlscript/call_frame.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::script {
namespace {

using testing::RunScript;

// Value of (code, item) as the energy functions read it, with an Integer and a Float argument
// mixed in: W6(code, item, k, a, b, c) = code * 100 + item + k * (a - b) / c.
void Mixed(CallFrame& f) {
    f.ReturnFloat(f.Int(0) * 100.0 + f.Int(1) + f.Int(2) * (f.Float(3) - f.Float(4)) / f.Float(5));
}

void Half(CallFrame& f) {
    f.ReturnInt(f.Int(0) / 2);
}

void Refuse(CallFrame& f) {
    f.Raise("host says no");
}

class FloatCodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ParamSpec i{ValueType::Integer};
        const ParamSpec x{ValueType::Float};
        engine.RegisterFunction({"MyUnit", "W6", {i, i, i, x, x, x}, ValueType::Float, Mixed});
        engine.RegisterFunction({"MyUnit", "Half", {i}, ValueType::Integer, Half});
        engine.RegisterFunction({"MyUnit", "Refuse", {x}, ValueType::Float, Refuse});
    }
    testing::RunResult Run(const std::string& source) { return RunScript(engine, source); }
    Engine engine;
};

using ProgramCase = testing::OutputCase;

// Each expression with host calls (over x = 2.5, y = -4, i = 7, k = 2) is printed from a Float
// variable it was assigned to and, in the same run, printed directly, so both compiled forms of a
// Float computation are covered. The operand forms without host calls are the corpus's
// 214_float_operand_forms; Integers mixed in and div and mod inside its 036/071 float and prec_
// cases.
TEST_F(FloatCodeTest, ComputesHostCallOperandsInEitherForm) {
    const std::vector<ProgramCase> cases = {
        {"W6(3, i, k, x, y, 2) + 1", "314.5"},
        {"W6(-300, 70000, -2, 0.5, -1E5, -2)", "140000.5"}, // constants of every size and sign
        {"Half(i) + Half(9) * 0.5", "5"},
    };
    for (const ProgramCase& c : cases) {
        auto result =
            Run(std::string("var x, y, r: Float; i, k: Integer;\n") + "x := 2.5; y := -4; i := 7; k := 2;\n" +
                "r := " + c.source + ";\nPrintLn(r);\nPrintLn(" + c.source + ");");
        EXPECT_EQ(result.messages, "") << c.source;
        EXPECT_EQ(result.output, std::string(c.output) + "\r\n" + c.output + "\r\n") << c.source;
    }
}

// Whole computations, run with a decimal comma so that every printed Float shows which printing
// path it took. Float locals, parameters and Results in routines are the corpus's 134-145 proc_
// cases.
TEST_F(FloatCodeTest, ProgramsPrintTheirOutput) {
    engine.MutableSettings().decimal_separator = ',';
    testing::ExpectOutputs(
        engine,
        {
            // Operands run left to right, calls included, whatever form each operand takes.
            {"var n: Integer;\n"
             "function F(v: Float): Float; begin n := n + 1; Print(IntToStr(n) + ':' + FloatToStr(v) + ' '); "
             "Result := v; end;\n"
             "var r: Float;\nr := F(1) * 10 + F(2) - W6(0, Round(F(3)), 1, F(4), 0, 1) / F(5);\nPrintLn(r);",
             "1:1 2:2 3:3 4:4 5:5 10,6\r\n"},
            // Float variables printed straight from their place: globals, elements at constant and
            // variable indexes, var and value parameters and locals.
            {"var a: array [1..2] of Float; k: Integer;\n"
             "procedure Show(var v: Float; w: Float);\nvar t: Float;\n"
             "begin t := w / 4; Print(v); Print(' '); Print(w); Print(' '); PrintLn(t); end;\n"
             "a[1] := 0.5; a[2] := 1E20; k := 2;\nPrint(a[1]); Print(' '); PrintLn(a[k]);\nShow(a[1], 2.5);",
             "0,5 1E20\r\n0,5 2,5 0,625\r\n"},
            // The guarded blocks of a run script: one formula's error leaves the others running. W6
            // divides by its last argument in the host, so with z = 0 it returns an infinity that the
            // script's multiplication refuses.
            {"var v: array [1..2] of Float; z: Float;\n"
             "try v[1] := W6(1, 2, 3, 4, 5, z) * 2; PrintLn(v[1]); "
             "except on E: Exception do PrintLn('Err:' + E.Message); end;\n"
             "try v[2] := 1 - Refuse(1) * 2; PrintLn(v[2]); except on E: Exception do PrintLn('Err:' + "
             "E.Message); end;\n"
             "z := 4;\ntry v[1] := W6(1, 2, 3, 4, 5, z) * 2; PrintLn(v[1]); "
             "except on E: Exception do PrintLn('Err:' + E.Message); end;",
             "Err:Floating point overflow\r\nErr:host says no\r\n202,5\r\n"},
        });
}

// The uncaught error of a statement on line 3, with x = 0 and y = 1E300: its text and position.
TEST_F(FloatCodeTest, ReportsTheTextAndPositionOfTheFailingOperation) {
    const std::vector<ProgramCase> cases = {
        {"r := 1 + 2 / x;", "Floating point division by zero [строка: 3, столбец: 12]"},
        {"r := 1 + x / x;", "Invalid floating point operation [строка: 3, столбец: 12]"},
        {"r := y * y + 1;", "Floating point overflow [строка: 3, столбец: 8]"},
        {"r := x + y * 1E10;", "Floating point overflow [строка: 3, столбец: 12]"},
        {"r := 1 - (y * 1E8 + y * 1E8);", "Floating point overflow [строка: 3, столбец: 19]"},
        {"r := 2 * Refuse(\nx * 2);",
         "host says no [строка: 3, столбец: 10]"}, // coded after one on a later line
        {"r := 2 * Sqrt(x - 1);", "Invalid floating point operation [строка: 3, столбец: 10]"}};
    for (const ProgramCase& c : cases) {
        auto result =
            Run(std::string("var x, y, r: Float;\nx := 0; y := 1E300;\n") + c.source + "\nPrint('after');");
        EXPECT_TRUE(result.compiled) << c.source;
        EXPECT_EQ(result.output, "") << c.source;
        EXPECT_EQ(result.messages, std::string("Ошибка при выполнении: ") + c.output + "\n") << c.source;
    }
}

// Expressions deeper than the byte code's stack, or with more failing operations than it has
// positions for, are kept as tree nodes around pieces of code and give the same values and
// errors. Calls nested in their last argument need a stack slot per pending argument: fourteen
// levels of a six-argument function need more than the byte code has, and compute what the loop
// does.
TEST_F(FloatCodeTest, LargeExpressionsKeepTheirValuesAndPositions) {
    std::string deep = "x";
    std::string wide = "x";
    std::string nested = "1";
    for (int n = 0; n < 300; ++n) {
        deep = n < 80 ? "(x + " + deep + ")" : deep;
        wide += " + x";
        nested = n < 14 ? "W6(1, 2, 3, 4, 5, " + nested + ")" : nested;
    }
    auto result = Run("var x, r: Float;\nx := 0.5;\nr := " + deep + ";\nPrintLn(r);\nr := " + wide +
                      ";\nPrintLn(r);\nx := 1E308;\nr := " + deep + ";");
    EXPECT_EQ(result.output, "40.5\r\n150.5\r\n");
    EXPECT_EQ(result.messages, "Ошибка при выполнении: Floating point overflow [строка: 8, столбец: 404]\n");
    auto calls = Run("var c: Float; j: Integer;\nc := 1;\nfor j := 1 to 14 do c := W6(1, 2, 3, 4, 5, c);\n"
                     "PrintLn(c);\nPrintLn(" +
                     nested + " * 1);");
    EXPECT_EQ(calls.messages, "");
    const std::string line = calls.output.substr(0, calls.output.find('\n') + 1);
    EXPECT_EQ(line.substr(0, 5), "101.9");
    EXPECT_EQ(calls.output, line + line);
}

} // namespace
} // namespace tl::script
