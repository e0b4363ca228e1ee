var a: array[1..5] of Integer;
  i, sum: Integer;
begin
  for i := 1 to 5 do
    a[i] := i * i;
  sum := 0;
  for i := 1 to 5 do
    sum := sum + a[i];
  PrintLn(sum);
  PrintLn(a[1]);
  PrintLn(a[5]);
  a[3] := -a[3];
  PrintLn(a[3]);
  PrintLn(a[2] + a[4]);
end.
