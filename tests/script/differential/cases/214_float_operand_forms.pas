// Float computations over each operand form (variables, literals, array elements at constant and
// variable indexes, negation, library calls), each printed from the variable it was assigned to
// and printed directly; and a computation inside the arguments of a function inside another.
var x, y, r: Float;
  k: Integer;
  a: array[1..3] of Float;
function G(p, q: Float): Float;
begin
  Result := p * 100 + q;
end;
begin
  x := 2.5;
  y := -4;
  k := 2;
  a[1] := 1.5;
  a[2] := 2.5;
  a[3] := 3.5;
  r := 10 - x;
  PrintLn(r);
  PrintLn(10 - x);
  r := 10 / x;
  PrintLn(r);
  PrintLn(10 / x);
  r := 3 * x + 1;
  PrintLn(r);
  PrintLn(3 * x + 1);
  r := -x * -y;
  PrintLn(r);
  PrintLn(-x * -y);
  r := a[3] - a[1];
  PrintLn(r);
  PrintLn(a[3] - a[1]);
  r := a[k] * a[k + 1];
  PrintLn(r);
  PrintLn(a[k] * a[k + 1]);
  r := Round(x * 3) / 2;
  PrintLn(r);
  PrintLn(Round(x * 3) / 2);
  r := Sqrt(Sqr(y)) + Abs(y) * Max(x, 1);
  PrintLn(r);
  PrintLn(Sqrt(Sqr(y)) + Abs(y) * Max(x, 1));
  x := 3;
  r := G(x * 2 + 1, G(x - 1, x / 2) + 0.5) * 2 - 1;
  PrintLn(r);
end.
