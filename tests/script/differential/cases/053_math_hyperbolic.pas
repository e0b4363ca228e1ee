var x: Float;
begin
  x := 0;
  Print('Cosh(0)='); PrintLn(Cosh(x));
  Print('Sinh(0)='); PrintLn(Sinh(x));
  Print('Tanh(0)='); PrintLn(Tanh(x));
  x := 1;
  Print('Cosh(1)='); PrintLn(Cosh(x));
  Print('Sinh(1)='); PrintLn(Sinh(x));
  Print('Tanh(1)='); PrintLn(Tanh(x));
  x := -2;
  Print('Cosh(-2)='); PrintLn(Cosh(x));
  Print('Sinh(-2)='); PrintLn(Sinh(x));
  Print('Tanh(-2)='); PrintLn(Tanh(x));
  x := 20;
  Print('Tanh(20)='); PrintLn(Tanh(x));
end.
