var a: array[0..9] of Integer;
  i, j: Integer;
begin
  for i := 0 to 9 do
    a[i] := 9 - i;
  PrintLn(a[a[0]]);
  PrintLn(a[a[a[3]]]);
  i := 2;
  j := 3;
  PrintLn(a[i * j]);
  PrintLn(a[i + j - 1]);
  PrintLn(a[9 - i]);
  PrintLn(a[Length('abcd')]);
  a[i * 2] := 100;
  PrintLn(a[4]);
  PrintLn(a[(i + j) mod 10]);
end.
