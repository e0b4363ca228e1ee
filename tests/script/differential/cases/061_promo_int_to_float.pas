// An Integer value is accepted wherever a Float is expected.
const MaxInt = 2147483647;
var x: Float;
  i: Integer;
function Half(v: Float): Float;
begin
  Result := v / 2;
end;
begin
  x := 1;
  Print('x := 1 -> '); PrintLn(x);
  i := 7;
  x := i;
  Print('x := i -> '); PrintLn(x);
  x := i + 0.5;
  Print('i + 0.5 -> '); PrintLn(x);
  Print('Half(7) -> '); PrintLn(Half(i));
  Print('Half(3) -> '); PrintLn(Half(3));
  x := -i;
  Print('x := -i -> '); PrintLn(x);
  x := MaxInt;
  Print('x := MaxInt -> '); PrintLn(x + 1);
end.
