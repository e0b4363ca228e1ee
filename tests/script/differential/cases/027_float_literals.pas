var x: Float;
begin
  x := 1.5E3;
  Print('1.5E3='); PrintLn(x);
  x := 2.0e-3;
  Print('2.0e-3='); PrintLn(x);
  x := 1.0E+2;
  Print('1.0E+2='); PrintLn(x);
  x := 12.5e0;
  Print('12.5e0='); PrintLn(x);
  x := 0.5E1;
  Print('0.5E1='); PrintLn(x);
  x := 3.0;
  Print('3.0='); PrintLn(x);
  x := 0.001;
  Print('0.001='); PrintLn(x);
  x := 1.79769313486231E308;
  Print('max double='); PrintLn(x);
end.
