//############# Общая часть #############
var k: Float;
k := 0.5;
//############# Основная часть #############
var __var0, __var1: array [1..2] of Float;
var __i: Integer;
for __i := 1 to 2 do begin
  __var0[__i] := 0; __var1[__i] := 0;
end;
try 
  __var0[1] := 100 * k; __var1[1] := k / 4;
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
  __var0[2] := __var1[3] * 2;
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