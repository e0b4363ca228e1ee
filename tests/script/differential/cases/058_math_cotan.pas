var x: Float;
begin
  x := 1;
  Print('Cotan(1)='); PrintLn(Cotan(x));
  x := Pi / 4;
  Print('Cotan(Pi/4)='); PrintLn(Cotan(x));
  x := 0.1;
  Print('Cotan(0.1)='); PrintLn(Cotan(x));
  x := -0.5;
  Print('Cotan(-0.5)='); PrintLn(Cotan(x));
  Print('1/Tan(-0.5)='); PrintLn(1 / Tan(x));
end.
