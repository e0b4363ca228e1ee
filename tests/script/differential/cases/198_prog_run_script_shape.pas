// Per-element guarded blocks printing two result lines each, as a calculation script does.
var __var0, __var1: array[1..2] of Float;
  __i: Integer;
function W(code, item: Integer): Float;
begin
  Result := code * 0.5 + item;
end;
begin
  for __i := 1 to 2 do begin
    __var0[__i] := 0; __var1[__i] := 0;
  end;
  try
    __var0[1] := W(100, 5) * 0.02;
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
    __var0[2] := W(1, 1); __var1[2] := W(2, 2) / 3;
    if __var1[2] > 0 then raise Exception.Create('negative load');
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
end.
