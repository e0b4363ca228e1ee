var x, y: Float;
begin
  x := 0.1;
  y := 0.2;
  Print('0.1+0.2='); PrintLn(x + y);
  Print('1e15='); PrintLn(1.0E15);
  Print('1e16='); PrintLn(1.0E16);
  Print('1e-4='); PrintLn(1.0E-4);
  Print('1e-5='); PrintLn(1.0E-5);
  Print('1e-6='); PrintLn(1.0E-6);
  Print('big='); PrintLn(123456789012345678.0);
  Print('100.0='); PrintLn(100.0);
  Print('2.5='); PrintLn(2.5);
  Print('0.1='); PrintLn(x);
end.
