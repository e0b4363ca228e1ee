var codes: array[1..4] of Integer;
  values: array[1..4] of Float;
  i: Integer;
  line: string;
begin
  codes[1] := 26; codes[2] := 255; codes[3] := 4096; codes[4] := 0;
  values[1] := 12.5; values[2] := -0.125; values[3] := 1.0E-6; values[4] := 1234567.891;
  for i := 1 to 4 do
  begin
    line := '$' + IntToHex(codes[i], 4) + '(' + IntToStr(codes[i]) + ').99.' + IntToStr(i);
    line := line + ' = ' + FloatToStr(values[i]);
    PrintLn(line);
  end;
end.
