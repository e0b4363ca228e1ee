var x: Float;
begin
  x := 0;
  Print('Sin(0)='); PrintLn(Sin(x));
  Print('Cos(0)='); PrintLn(Cos(x));
  x := Pi / 2;
  Print('Sin(Pi/2)='); PrintLn(Sin(x));
  x := Pi;
  Print('Cos(Pi)='); PrintLn(Cos(x));
  x := Pi / 4;
  Print('Tan(Pi/4)='); PrintLn(Tan(x));
  x := Pi / 6;
  Print('Sin(Pi/6)='); PrintLn(Sin(x));
  x := 1;
  Print('Sin(1)='); PrintLn(Sin(x));
  Print('Cos(1)='); PrintLn(Cos(x));
  Print('Tan(1)='); PrintLn(Tan(x));
  x := -2.5;
  Print('Sin(-2.5)='); PrintLn(Sin(x));
  Print('Cos(-2.5)='); PrintLn(Cos(x));
end.
