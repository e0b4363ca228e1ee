var x: Float;
begin
  x := 1.5;
  Print('Sqr(1.5)='); PrintLn(Sqr(x));
  x := -0.1;
  Print('Sqr(-0.1)='); PrintLn(Sqr(x));
  x := 1.0E150;
  Print('Sqr(1e150)='); PrintLn(Sqr(x));
  x := 3;
  Print('Sqr(3.0)='); PrintLn(Sqr(x));
  x := 1.0E-200;
  Print('Sqr(1e-200)='); PrintLn(Sqr(x));
  x := 12345.678;
  Print('Sqr(12345.678)='); PrintLn(Sqr(x));
end.
