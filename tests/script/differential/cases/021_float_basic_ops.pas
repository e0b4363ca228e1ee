var a, b: Float;
begin
  a := 7.5;
  b := 2.0;
  Print('a+b='); PrintLn(a + b);
  Print('a-b='); PrintLn(a - b);
  Print('b-a='); PrintLn(b - a);
  Print('a*b='); PrintLn(a * b);
  Print('a/b='); PrintLn(a / b);
  Print('-a='); PrintLn(-a);
  Print('a*-b='); PrintLn(a * -b);
  Print('a/-4='); PrintLn(a / -4);
end.
