var x: Float;
  i: Integer;
begin
  x := 2;
  Print('Sqrt(2)='); PrintLn(Sqrt(x));
  x := 16;
  Print('Sqrt(16)='); PrintLn(Sqrt(x));
  x := 0;
  Print('Sqrt(0)='); PrintLn(Sqrt(x));
  x := 1.0E-10;
  Print('Sqrt(1e-10)='); PrintLn(Sqrt(x));
  x := 1.0E300;
  Print('Sqrt(1e300)='); PrintLn(Sqrt(x));
  i := 49;
  Print('Sqrt(49 int)='); PrintLn(Sqrt(i));
  x := 0.25;
  Print('Sqrt(0.25)='); PrintLn(Sqrt(x));
  x := 3;
  Print('Sqrt(3)^2='); PrintLn(Sqrt(x) * Sqrt(x));
end.
