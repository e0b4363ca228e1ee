var a: array[1..10] of Float;
  i, j, swaps: Integer;
  t: Float;
  s: string;
begin
  for i := 1 to 10 do
    a[i] := ((i * 37) mod 11) / 4 - 1;
  swaps := 0;
  for i := 1 to 9 do
    for j := 1 to 10 - i do
      if a[j] > a[j + 1] then
      begin
        t := a[j];
        a[j] := a[j + 1];
        a[j + 1] := t;
        swaps := swaps + 1;
      end;
  s := '';
  for i := 1 to 10 do
    s := s + FloatToStr(a[i]) + ' ';
  PrintLn(s);
  PrintLn(swaps);
end.
