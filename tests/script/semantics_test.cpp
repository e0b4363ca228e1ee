// Behaviour that is easy to get subtly wrong and where the language differs from Free Pascal (the
// differential corpus covers the common ground): value semantics, zeroed locals, exception
// classes and handlers, Variant conversions, and a program's state after an uncaught error.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

using testing::ExpectOutputs;

TEST(SemanticsTest, ProgramsPrintTheirOutput) {
    ExpectOutputs({
        // Declarations and routines (declarations after statements and initialised variables are the
        // corpus's own/004 and 203). program and uses are no reserved words (LexerTest has the list).
        {"program uses; uses SysUtils; var uses: String = 'u'; begin Print(uses) end.", "u"},
        {"const K = 3; L: Float = 2.5; N = K * 2 + 1; var a: array [1..N] of Integer; Print(Length(a)); "
         "Print(L * K);",
         "77.5"},
        {"function F(n: Integer): Integer; begin F := n * 2; end; Print(F(21));", "42"},
        {"function F(n: Integer): Integer; begin if n > 0 then Exit(1); Result := -1; end; Print(F(5)); "
         "Print(F(0));",
         "1-1"},
        {"procedure P; var k: Integer; begin Inc(k); Print(k); end; P; P;", "11"},
        {"function Max(a, b, c: Integer): Integer; begin Result := a + b + c; end; Print(Max(1, 2, 3));",
         "6"},
        {"var c: Char; c := 'y'; case c of 'x': Print(1); 'y', 'z': Print(2); end;", "2"},
        {"case 1 of 1: begin Print('a'); break; Print('b'); end; end; Print('c');", "ac"},
        // Operators beyond the common ground
        {"var a, b: Integer; a := -2147483647 - 1; b := -1; Print(a div b); Print(a mod b);", "-21474836480"},
        {"Print(12 and 10); Print(' '); Print(12 or 3); Print(' '); Print(5 xor 1); Print(' '); "
         "Print(not 0);",
         "8 15 4 -1"},
        // Value semantics (const record parameters are the corpus's 162_record_functions)
        {"var a, b: String; procedure Up(var s: String); begin s[1] := 'Z'; end;\n"
         "a := 'abc'; b := a; Up(a); Print(a + ' ' + b);",
         "Zbc abc"},
        {"type TE = record name: String; v: Float; end; var a, b: array [1..2] of TE;\n"
         "a[1].name := 'one'; a[2].name := 'two'; b := a; a[2].name := 'changed'; "
         "Print(b[1].name + b[2].name + a[2].name);",
         "onetwochanged"},
        {"type TP = record x, y: Float; end; var m: array [1..2, 0..1] of Integer; p: TP; "
         "q: array [1..2] of TP; m[2, 1] := 5; p.x := 1.5; q[2] := p; q[2].y := 2; Print(m[2][1]); "
         "Print(q[2].x + q[2].y); Print(p.y); Print(Length(m) * 10 + High(m[1]));",
         "53.5021"},
        // Exceptions (an error in a finally block replacing the one in flight is
        // CrossesCallsAsRaisedDeepDown's)
        // Handlers in order, a user class caught by its parent's; the handled class, the one asked
        // for and the selection among built-in classes are CrossesCallsAsRaisedDeepDown's.
        {"type EMy = class(Exception); ESub = class(EMy);\n"
         "try raise ESub.Create('m'); except on E: EConvertError do Print('no');\n"
         "  on E: EMy do begin Print(E is ESub); Print((E as EMy).Message + E.ClassName); end; end;",
         "TruemESub"},
        // raise without an object raises a new exception of its class Exception, in a bare handler too
        // (the other places are in the corpus's own/002_raise_without_object.pas)
        {"try try raise EConvertError.Create('inner'); except raise; end; except on E: Exception do "
         "Print(E.ClassName + ': ' + E.Message); end;",
         "Exception: User defined exception!"},
        {"try raise Exception.Create('a'); except on E: Exception do begin E.Message := 'z'; "
         "Print(E.Message); end; end;",
         "z"},
        {"var saved: Exception;\n"
         "try raise Exception.Create('kept'); except on E: Exception do saved := E; end;\n"
         "Print(saved.Message); Print(saved <> nil);",
         "keptTrue"},
        {"var z: Integer; try z := 1 div z; except on E: EConvertError do Print('no'); "
         "else Print('else'); end;",
         "else"},
        // A constructor called as a statement runs and drops its object.
        {"Exception.Create('dropped'); Print('on');", "on"},
        // Variants
        {"var v, w: Variant; v := 5; Print(v); v := 'txt'; w := v; v := 2.5; Print(w); Print(v + 1);",
         "5txt3.5"},
        {"var v: Variant; i: Integer; f: Float; v := '42'; i := v; v := '2.5'; f := v; Print(i + f);",
         "44.5"},
        {"var v: Variant; s: String; v := 2.5; s := v; Print(s + '!');", "2.5!"},
        {"var v: Variant; i: Integer; v := 2.5; i := v; Print(i); v := 3.5; i := v; Print(i);", "24"},
        {"var v: Variant; i: Integer; v := 'abc';\n"
         "try i := v; except on E: Exception do Print(E.Message); end;",
         "Could not convert variant of type (String) into type (Integer)"},
        {"var v: Variant; s: String; v := v + 1; s := 'x'; Print(v); Print(s);", "1x"},
        // Every named handler keeps its own variable while the handlers nested in its body run,
        // whatever mix of bare and named handlers surrounds it, in the main program and in routines.
        // (named inside bare runs as the fuzzer regression named_handler_in_bare_except.pas)
        // bare inside named
        {"try raise Exception.Create('a'); except on E: Exception do begin\n"
         "  try raise Exception.Create('b'); except Print('bare '); end; Print(E.Message); end; end;",
         "bare a"},
        // named inside named, the inner one shadowing the name
        {"try raise Exception.Create('a'); except on E: Exception do begin\n"
         "  try raise Exception.Create('b'); except on E: Exception do Print(E.Message); end;\n"
         "  Print(E.Message); end; end;",
         "ba"},
        // three levels: named, bare, named; each outer variable still readable afterwards
        {"try raise Exception.Create('1'); except on A: Exception do begin\n"
         "  try raise Exception.Create('2'); except\n"
         "    try raise Exception.Create('3'); except on C: Exception do Print(C.Message + A.Message); end;\n"
         "    Print(A.Message); end;\n"
         "  Print(A.Message); end; end;",
         "3111"},
        // in the else part of a handler list
        {"try raise EConvertError.Create('a'); except on E: EZeroDivide do Print('no'); else\n"
         "  try raise Exception.Create('b'); except on F: Exception do Print(F.Message); end; end;",
         "b"},
        // inside a routine, called from a handler of the main program and recursing from its own
        {"procedure P(n: Integer); begin\n"
         "  try raise Exception.Create(IntToStr(n)); except\n"
         "    try raise Exception.Create('x'); except on E: Exception do begin\n"
         "      if n > 0 then P(n - 1); Print(E.Message + IntToStr(n) + ' '); end; end; end; end;\n"
         "try raise Exception.Create('m'); except on M: Exception do begin P(1); Print(M.Message); end; end;",
         "x0 x1 m"},
        // a handler that raises anew, caught by a named handler around it, entered again by a loop
        {"var i: Integer; for i := 1 to 2 do\n"
         "  try try raise Exception.Create(IntToStr(i)); except on E: Exception do\n"
         "    raise Exception.Create(E.Message); end;\n"
         "  except on F: Exception do try raise Exception.Create('r'); except\n"
         "    on G: Exception do Print(F.Message + G.Message); end; end;",
         "1r2r"},
    });
}

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
