var x: Float;
  i: Integer;
begin
  x := -2.5;
  Print('Abs(-2.5)='); PrintLn(Abs(x));
  x := 2.5;
  Print('Abs(2.5)='); PrintLn(Abs(x));
  x := -1.0E-300;
  Print('Abs(-1e-300)='); PrintLn(Abs(x));
  x := 0;
  x := -x;
  Print('Abs(-0.0)='); PrintLn(Abs(x));
  i := -7;
  Print('Abs(-7)='); PrintLn(Abs(i));
  i := 7;
  Print('Abs(7)='); PrintLn(Abs(i));
  Print('Abs(3-10)='); PrintLn(Abs(3 - 10));
end.
