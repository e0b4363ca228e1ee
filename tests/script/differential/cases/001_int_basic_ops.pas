var a, b: Integer;
begin
  a := 17;
  b := 5;
  Print('a+b='); PrintLn(a + b);
  Print('a-b='); PrintLn(a - b);
  Print('b-a='); PrintLn(b - a);
  Print('a*b='); PrintLn(a * b);
  Print('-a='); PrintLn(-a);
  Print('a*-b='); PrintLn(a * -b);
  Print('0-0='); PrintLn(0 - 0);
  Print('literal='); PrintLn(1234567890);
end.
