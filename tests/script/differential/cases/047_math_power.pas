var b, e: Float;
begin
  b := 2; e := 10;
  Print('2^10='); PrintLn(Power(b, e));
  b := 2; e := 0.5;
  Print('2^0.5='); PrintLn(Power(b, e));
  b := 10; e := -2;
  Print('10^-2='); PrintLn(Power(b, e));
  b := 0; e := 0;
  Print('0^0='); PrintLn(Power(b, e));
  b := -2; e := 3;
  Print('-2^3='); PrintLn(Power(b, e));
  b := -8; e := 2;
  Print('-8^2='); PrintLn(Power(b, e));
  b := 1.5; e := 2.5;
  Print('1.5^2.5='); PrintLn(Power(b, e));
  b := 0; e := 5;
  Print('0^5='); PrintLn(Power(b, e));
  Print('Power(3, 4) ints='); PrintLn(Power(3, 4));
end.
