var v: array[1..6] of Float;
  i: Integer;
  sum, mx: Float;
begin
  for i := 1 to 6 do
    v[i] := 0;
  v[1] := 1.5;
  v[2] := -0.25;
  v[4] := 10;
  v[6] := 1 / 3;
  sum := 0;
  mx := v[1];
  for i := 1 to 6 do
  begin
    sum := sum + v[i];
    if v[i] > mx then mx := v[i];
  end;
  PrintLn(sum);
  PrintLn(mx);
  PrintLn(v[3]);
  PrintLn(v[6] * 3);
end.
