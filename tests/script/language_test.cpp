// The language end to end: each case is a small program and the exact text it prints.
#include "script_test_util.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

using testing::RunScript;

struct ProgramCase {
    const char* name;
    const char* source;
    const char* output;
};

std::string CaseName(const ::testing::TestParamInfo<ProgramCase>& info) {
    return info.param.name;
}

class ProgramTest : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramTest, PrintsExpectedOutput) {
    auto result = RunScript(GetParam().source);
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, ProgramTest,
    ::testing::Values(
        ProgramCase{"TopLevelStatementsAndLateDeclarations",
                    "var a: Integer; a := 2; Print(a); var b: Integer = 5; Print(b);", "25"},
        ProgramCase{"ClassicProgramForm",
                    "program P; uses SysUtils, Math; var i: Integer; begin i := 7; Print(i) end.", "7"},
        ProgramCase{"IfElse", "var i: Integer; for i := 1 to 3 do if i = 2 then Print('b') else Print('x');",
                    "xbx"},
        ProgramCase{"ForEvaluatesBoundsOnce",
                    "var i, n: Integer; n := 3; for i := 1 to n do begin n := 10; Print(i); end; Print(n);",
                    "12310"},
        ProgramCase{"ForDownto", "var i: Integer; for i := 3 downto 1 do Print(i);", "321"},
        ProgramCase{"ForEmptyRangeSkipsBody",
                    "var i: Integer; i := 9; for i := 5 to 1 do Print('x'); Print(i);", "9"},
        ProgramCase{"WhileBreakContinue",
                    "var i: Integer; i := 0; while True do begin Inc(i); if i = 2 then continue; if i > 4 "
                    "then break; "
                    "Print(i); end;",
                    "134"},
        ProgramCase{"RepeatRunsAtLeastOnce", "var i: Integer; i := 10; repeat Print(i); Inc(i) until i > 5;",
                    "10"},
        ProgramCase{"CaseListsRangesElse",
                    "var i: Integer; for i := 0 to 5 do case i of 1, 2: Print('a'); 3..4: Print('b'); else "
                    "Print('-'); "
                    "end;",
                    "-aabb-"},
        ProgramCase{"CaseOnChar", "var c: Char; c := 'y'; case c of 'x': Print(1); 'y', 'z': Print(2); end;",
                    "2"},
        ProgramCase{
            "ProceduresWithVarConstAndValueParams",
            "procedure P(a: Integer; var b: Integer; const c: Integer); begin a := a + 1; b := a + c; end; "
            "var x, y: Integer; x := 1; P(x, y, 10); Print(x); Print(','); Print(y);",
            "1,12"},
        ProgramCase{"FunctionNameAssignsResult",
                    "function F(n: Integer): Integer; begin F := n * 2; end; Print(F(21));", "42"},
        ProgramCase{
            "RecursionAndParameterlessCall",
            "function Fib(n: Integer): Integer; begin if n < 2 then Result := n else Result := Fib(n - 1) + "
            "Fib(n - 2); end; function Ten: Integer; begin Result := 10; end; Print(Fib(Ten));",
            "55"},
        ProgramCase{"ForwardAndMutualRecursion",
                    "function IsOdd(n: Integer): Boolean; forward; function IsEven(n: Integer): Boolean; "
                    "begin if n = 0 "
                    "then Result := True else Result := IsOdd(n - 1); end; function IsOdd(n: Integer): "
                    "Boolean; begin "
                    "if n = 0 then Result := False else Result := IsEven(n - 1); end; Print(IsEven(10)); "
                    "Print(IsOdd(7));",
                    "TrueTrue"},
        ProgramCase{
            "ExitLeavesRoutineWithValue",
            "function F(n: Integer): Integer; begin if n > 0 then Exit(1); Result := -1; end; Print(F(5)); "
            "Print(F(0));",
            "1-1"},
        ProgramCase{"LocalsAreFreshOnEveryCall",
                    "procedure P; var k: Integer; begin Inc(k); Print(k); end; P; P;", "11"},
        ProgramCase{
            "ArraysMultiDimensionalAndRecords",
            "type TP = record x, y: Float; end; var m: array [1..2, 0..1] of Integer; p: TP; "
            "q: array [1..2] of TP; m[2, 1] := 5; p.x := 1.5; q[2] := p; q[2].y := 2; Print(m[2][1]); "
            "Print(q[2].x + q[2].y); Print(p.y);",
            "53.50"},
        ProgramCase{"ArrayAssignmentCopies",
                    "var a, b: array [1..2] of String; a[1] := 'x'; b := a; a[1] := 'y'; Print(b[1] + a[1]);",
                    "xy"},
        ProgramCase{"StringsAreValuesAndOneBased",
                    "var s, t: String; s := 'abc'; t := s; s[1] := 'X'; Print(s + t); Print(s[2]);",
                    "Xbcabcb"},
        ProgramCase{
            "TypedAndUntypedConstants",
            "const K = 3; L: Float = 2.5; N = K * 2 + 1; var a: array [1..N] of Integer; Print(Length(a)); "
            "Print(L * K);",
            "77.5"},
        ProgramCase{"VariantHoldsAnyScalar",
                    "var v: Variant; v := 5; Print(v); v := 'txt'; Print(v); v := 2.5; Print(v + 1);",
                    "5txt3.5"},
        ProgramCase{"TryFinallyRunsOnExitAndRaise",
                    "procedure P; begin try Exit; finally Print('f'); end; end; P; try try raise "
                    "Exception.Create('e'); finally Print('g'); end; except on E: Exception do "
                    "Print(E.Message); end;",
                    "fge"},
        ProgramCase{
            "HandlersMatchByClass",
            "var i: Integer; i := 0; try i := 1 div i; except on E: EZeroDivide do Print('float'); on E: "
            "EDivByZero do Print(E.ClassName); end;",
            "EDivByZero"},
        ProgramCase{"UserExceptionClassesAndIsAs",
                    "type EMy = class(Exception); try raise EMy.Create('m'); except on E: Exception do begin "
                    "Print(E is EMy); Print((E as EMy).Message); end; end;",
                    "Truem"},
        ProgramCase{"BareExceptAndReRaise",
                    "try try raise Exception.Create('inner'); except raise; end; except on E: Exception do "
                    "Print(E.Message); end;",
                    "inner"},
        ProgramCase{"RaiseOutsideHandler", "try raise; except on E: Exception do Print(E.Message); end;",
                    "User defined exception!"},
        ProgramCase{"NestedTryBlocks",
                    "try try raise Exception.Create('a'); except on E: Exception do raise "
                    "Exception.Create(E.Message + "
                    "'b'); end; except on E: Exception do Print(E.Message); end;",
                    "ab"},
        ProgramCase{"MessageCanBeChanged",
                    "try raise Exception.Create('a'); except on E: Exception do begin E.Message := 'z'; "
                    "Print(E.Message); end; end;",
                    "z"},
        ProgramCase{"ConstructorAsStatementIsHarmless", "Exception.Create('dropped'); Print('on');", "on"},
        ProgramCase{"BreakInsideCaseWithoutLoopLeavesCase",
                    "case 1 of 1: begin Print('a'); break; Print('b'); end; end; Print('c');", "ac"},
        ProgramCase{"IncludedCommentsAndSemicolonsAreHarmless", "Print(1);;; { x } ;Print(2)", "12"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Operators, ProgramTest,
    ::testing::Values(
        ProgramCase{"DivModTruncateTowardZero",
                    "Print(-7 div 2); Print(' '); Print(-7 mod 2); Print(' '); "
                    "Print(7 mod -2);",
                    "-3 -1 1"},
        ProgramCase{"SlashIsAlwaysFloat", "Print(7 / 2); Print(' '); Print(4 / 2);", "3.5 2"},
        ProgramCase{"IntegerWrapsAround",
                    "var i: Integer; i := 2147483647; i := i + 1; Print(i); Print(' '); i := -i; Print(i);",
                    "-2147483648 -2147483648"},
        ProgramCase{"MinIntDivMinusOneDoesNotTrap",
                    "var a, b: Integer; a := -2147483647 - 1; b := -1; Print(a div b);"
                    " Print(a mod b);",
                    "-21474836480"},
        ProgramCase{"Precedence",
                    "Print(2 + 3 * 4); Print(' '); Print(-2 * 3 + 1); Print(' '); Print(not False and "
                    "False);",
                    "14 -5 False"},
        ProgramCase{"ComparisonsOfMixedNumbers",
                    "Print(1 < 1.5); Print(2 = 2.0); Print('abc' < 'abd'); Print('B' < "
                    "'a'); Print(True > False);",
                    "TrueTrueTrueTrueTrue"},
        ProgramCase{"BitwiseOnIntegers",
                    "Print(12 and 10); Print(' '); Print(12 or 3); Print(' '); Print(5 xor 1); "
                    "Print(' '); Print(1 shl 4); Print(' '); Print(not 0);",
                    "8 15 4 16 -1"},
        ProgramCase{
            "ShortCircuitSkipsRightSide",
            "function Boom: Boolean; begin raise Exception.Create('evaluated'); end; Print(False and Boom); "
            "Print(True or Boom);",
            "FalseTrue"},
        ProgramCase{"StringAndCharJoin", "var c: Char; c := 'b'; Print('a' + c + #33);", "ab!"},
        ProgramCase{"HexLiteralIs26", "Print($1A);", "26"},
        ProgramCase{"IdentifiersIgnoreCase", "var MyVar: Integer; myvar := 3; PRINT(MYVAR);", "3"}),
    CaseName);

} // namespace
} // namespace tl::script
