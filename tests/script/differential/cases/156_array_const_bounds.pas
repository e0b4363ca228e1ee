const
  N = 5;
  First = -2;
var a: array[1..N] of Integer;
  b: array[First..First + 3] of Integer;
  i: Integer;
begin
  for i := 1 to N do
    a[i] := N - i;
  PrintLn(a[1]);
  PrintLn(a[N]);
  for i := First to First + 3 do
    b[i] := i;
  PrintLn(b[First]);
  PrintLn(b[First + 3]);
end.
