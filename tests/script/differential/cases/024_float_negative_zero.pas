var x, y: Float;
begin
  x := 0.0;
  x := -x;
  Print('-0.0='); PrintLn(x);
  y := 0.0;
  Print('-0.0=0.0 '); PrintLn(x = y);
  y := -5.0;
  x := y * 0;
  Print('-5*0='); PrintLn(x);
  x := 1.0E-200;
  x := -x * 1.0E-200;
  Print('underflow to -0='); PrintLn(x);
end.
