var a: array[5..9] of Integer;
  b: array[-3..3] of Integer;
  c: array[0..0] of string;
  i: Integer;
  s: string;
begin
  for i := 5 to 9 do
    a[i] := i * 10;
  PrintLn(a[5]);
  PrintLn(a[9]);
  for i := -3 to 3 do
    b[i] := i * i * i;
  s := '';
  for i := -3 to 3 do
    s := s + IntToStr(b[i]) + ' ';
  PrintLn(s);
  c[0] := 'single';
  PrintLn(c[0]);
end.
