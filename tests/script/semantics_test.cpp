// Behaviour that is easy to get subtly wrong: value semantics of strings and aggregates, the
// lifetime of counted data across calls and handlers, scoping, Variant conversions, and a
// program's state after an execution that ended in an error.
#include "script_test_util.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

using testing::RunScript;

struct SemanticsCase {
    const char* name;
    const char* source;
    const char* output;
};

std::string CaseName(const ::testing::TestParamInfo<SemanticsCase>& info) {
    return info.param.name;
}

class SemanticsTest : public ::testing::TestWithParam<SemanticsCase> {};

TEST_P(SemanticsTest, PrintsExpectedOutput) {
    auto result = RunScript(GetParam().source);
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    ValueSemantics, SemanticsTest,
    ::testing::Values(
        SemanticsCase{"StringCharWriteDoesNotReachCopies",
                      "var a, b: String; procedure Up(var s: String); begin s[1] := 'Z'; end;\n"
                      "a := 'abc'; b := a; Up(a); Print(a + ' ' + b);",
                      "Zbc abc"},
        SemanticsCase{"ValueParameterIsACopy",
                      "type TR = record n: Integer; s: String; end; var r: TR;\n"
                      "procedure Change(x: TR); begin x.n := 9; x.s := 'changed'; end;\n"
                      "r.n := 1; r.s := 'kept'; Change(r); Print(r.n); Print(r.s);",
                      "1kept"},
        SemanticsCase{"VarParameterAliasesTheElement",
                      "var a: array [1..3] of Integer; i: Integer;\n"
                      "procedure Add(var x: Integer; d: Integer); begin x := x + d; end;\n"
                      "for i := 1 to 3 do Add(a[i], i * 10); Print(a[1] + a[2] + a[3]);",
                      "60"},
        SemanticsCase{"ConstRecordParameterIsReadable",
                      "type TP = record x, y: Float; end; var p: TP;\n"
                      "function Sum(const q: TP): Float; begin Result := q.x + q.y; end;\n"
                      "p.x := 1.25; p.y := 2; Print(Sum(p));",
                      "3.25"},
        SemanticsCase{"StringsBuiltInLoops",
                      "var s: String; i: Integer; s := ''; for i := 1 to 5 do s := s + IntToStr(i) + ','; "
                      "Print(Copy(s, 1, Length(s) - 1));",
                      "1,2,3,4,5"},
        SemanticsCase{"FunctionsReturningStringsNest",
                      "function Wrap(const s: String): String; begin Result := '[' + s + ']'; end;\n"
                      "Print(Wrap(Wrap(Wrap('x'))));",
                      "[[[x]]]"},
        SemanticsCase{"ArrayOfRecordsWithStringsCopiesWhole",
                      "type TE = record name: String; v: Float; end; var a, b: array [1..2] of TE;\n"
                      "a[1].name := 'one'; a[2].name := 'two'; b := a; a[2].name := 'changed'; "
                      "Print(b[1].name + b[2].name + a[2].name);",
                      "onetwochanged"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Scoping, SemanticsTest,
    ::testing::Values(
        SemanticsCase{"LocalShadowsGlobal",
                      "var x: Integer; procedure P; var x: Integer; begin x := 5; Print(x); end;\n"
                      "x := 1; P; Print(x);",
                      "51"},
        SemanticsCase{"RoutineSeesGlobalsDeclaredBeforeIt",
                      "var total: Float; procedure Add(v: Float); begin total := total + v; end;\n"
                      "Add(1.5); Add(2); Print(total);",
                      "3.5"},
        SemanticsCase{
            "ScriptNameShadowsLibraryName",
            "function Max(a, b, c: Integer): Integer; begin Result := a + b + c; end; Print(Max(1, 2, 3));",
            "6"},
        SemanticsCase{
            "HandlerVariablesAreSeparatePerNesting",
            "try raise Exception.Create('outer'); except on E: Exception do begin\n"
            "  try raise Exception.Create('inner'); except on F: Exception do Print(F.Message + ' '); end;\n"
            "  Print(E.Message); end; end;",
            "inner outer"},
        SemanticsCase{"ExceptionObjectOutlivesItsHandler",
                      "var saved: Exception;\n"
                      "try raise Exception.Create('kept'); except on E: Exception do saved := E; end;\n"
                      "Print(saved.Message); Print(saved <> nil);",
                      "keptTrue"},
        SemanticsCase{"ReRaiseKeepsTheClass",
                      "try try raise EConvertError.Create('c'); except on E: Exception do raise; end;\n"
                      "except on E: EConvertError do Print('convert ' + E.Message); end;",
                      "convert c"},
        SemanticsCase{"ErrorInsideFinallyReplacesTheFirst",
                      "var z: Integer; try try raise Exception.Create('first'); finally z := 1 div z; end;\n"
                      "except on E: Exception do Print(E.Message); end;",
                      "Division by zero"},
        SemanticsCase{"BreakThroughFinallyRunsIt",
                      "var i: Integer; for i := 1 to 5 do try if i = 2 then break; finally Print(i); end;",
                      "12"},
        SemanticsCase{"ElseHandlerCatchesTheRest",
                      "var z: Integer; try z := 1 div z; except on E: EConvertError do Print('no'); "
                      "else Print('else'); end;",
                      "else"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Variants, SemanticsTest,
    ::testing::Values(
        SemanticsCase{"TextToNumbers",
                      "var v: Variant; i: Integer; f: Float; v := '42'; i := v; v := '2.5'; f := v; "
                      "Print(i + f);",
                      "44.5"},
        SemanticsCase{"NumbersToText", "var v: Variant; s: String; v := 2.5; s := v; Print(s + '!');",
                      "2.5!"},
        SemanticsCase{"FloatToIntegerRoundsHalfToEven",
                      "var v: Variant; i: Integer; v := 2.5; i := v; Print(i); v := 3.5; i := v; Print(i);",
                      "24"},
        SemanticsCase{"FailedConversionIsCatchable",
                      "var v: Variant; i: Integer; v := 'abc';\n"
                      "try i := v; except on E: Exception do Print(E.Message); end;",
                      "Could not convert variant of type (String) into type (Integer)"},
        SemanticsCase{"UnassignedReadsAsZeroAndEmpty",
                      "var v: Variant; s: String; v := v + 1; s := 'x'; Print(v); Print(s);", "1x"}),
    CaseName);

TEST(SemanticsTest, ProgramRunsCleanlyAfterAnUncaughtErrorInsideCallsAndHandlers) {
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

} // namespace
} // namespace tl::script
