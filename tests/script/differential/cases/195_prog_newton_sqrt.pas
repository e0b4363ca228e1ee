function NewtonSqrt(v: Float): Float;
var x, prev: Float;
  steps: Integer;
begin
  x := v;
  steps := 0;
  repeat
    prev := x;
    x := (x + v / x) / 2;
    steps := steps + 1;
  until (Abs(x - prev) < 1.0E-12) or (steps > 100);
  Result := x;
end;

begin
  PrintLn(NewtonSqrt(2));
  PrintLn(NewtonSqrt(144));
  PrintLn(NewtonSqrt(1.0E10));
  PrintLn(Abs(NewtonSqrt(2) - Sqrt(2)) < 1.0E-12);
end.
