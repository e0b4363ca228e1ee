var a, b: Float;
begin
  a := 1;
  b := 3;
  Print('1/3='); PrintLn(a / b);
  a := 2;
  Print('2/3='); PrintLn(a / b);
  a := 10;
  Print('10/3='); PrintLn(a / b);
  b := 7;
  Print('10/7='); PrintLn(a / b);
  a := 22;
  Print('22/7='); PrintLn(a / b);
  a := -1;
  b := 3;
  Print('-1/3='); PrintLn(a / b);
  a := 1;
  b := 1024;
  Print('1/1024='); PrintLn(a / b);
end.
