// Assigning an array copies its elements.
type
  TArr = array[1..3] of Integer;
var a, b: TArr;
  i: Integer;
procedure Clobber(p: TArr);
begin
  p[1] := -1;
  PrintLn(p[1]);
end;
begin
  for i := 1 to 3 do
    a[i] := i;
  b := a;
  b[2] := 20;
  PrintLn(a[2]);
  PrintLn(b[2]);
  Clobber(a);
  PrintLn(a[1]);
end.
