var x: Float;
begin
  x := 2.2250738585072014E-308;
  Print('min normal='); PrintLn(x);
  x := x / 2;
  Print('half of it='); PrintLn(x);
  x := 4.9406564584124654E-324;
  Print('min subnormal='); PrintLn(x);
  x := x * 3;
  Print('3 * min='); PrintLn(x);
  x := 1.0E-310;
  Print('1e-310='); PrintLn(x);
  x := 1.0E-320;
  Print('1e-320='); PrintLn(x);
  x := 1.0E-300;
  x := x * 1.0E-10;
  Print('1e-300*1e-10='); PrintLn(x);
end.
