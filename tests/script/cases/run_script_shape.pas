// The run script the driver assembles, with an element whose formula fails and one that works.
//############# Общая часть #############
var k: Float;
k := 0;
//############# Основная часть #############
var __var0, __var1: array [1..3] of Float;
var __i: Integer;
for __i := 1 to 3 do begin
  __var0[__i] := 0; __var1[__i] := 0;
end;
try 
  __var0[1] := 10 / k;
  Print('Result0=');
  PrintLn(__var0[1]);
  Print('Result1=');
  PrintLn(__var1[1]);
except
  on E: Exception do begin
    Print('Result0=Err:');
    PrintLn(E.message);
    Print('Result1=Err:');
    PrintLn(E.message);
  end;
end;
try 
  __var0[2] := 2.5 * 4; __var1[2] := -1 / 3;
  Print('Result0=');
  PrintLn(__var0[2]);
  Print('Result1=');
  PrintLn(__var1[2]);
except
  on E: Exception do begin
    Print('Result0=Err:');
    PrintLn(E.message);
    Print('Result1=Err:');
    PrintLn(E.message);
  end;
end;
try 
  __var0[4] := 1;
  Print('Result0=');
  PrintLn(__var0[3]);
  Print('Result1=');
  PrintLn(__var1[3]);
except
  on E: Exception do begin
    Print('Result0=Err:');
    PrintLn(E.message);
    Print('Result1=Err:');
    PrintLn(E.message);
  end;
end;
// expect: Result0=Err:Floating point division by zero
// expect: Result1=Err:Floating point division by zero
// expect: Result0=10
// expect: Result1=-0.333333333333333
// expect: Result0=Err:Upper bound exceeded! Index 4
// expect: Result1=Err:Upper bound exceeded! Index 4
