var x: Float;
begin
  x := 999999999999999.0;
  Print('15 nines='); PrintLn(x);
  x := 9999999999999999.0;
  Print('16 nines='); PrintLn(x);
  x := 123456789012345.0;
  Print('15 digits='); PrintLn(x);
  x := 1234567890123456.0;
  Print('16 digits='); PrintLn(x);
  x := 123456.789;
  Print('123456.789='); PrintLn(x);
  x := 0.000123456;
  Print('0.000123456='); PrintLn(x);
  x := 0.0000123456;
  Print('0.0000123456='); PrintLn(x);
  x := 1.5;
  x := x * x * x;
  Print('1.5^3='); PrintLn(x);
  x := 1.1;
  x := x * x;
  Print('1.1*1.1='); PrintLn(x);
end.
