// Arguments on the edge of a function's domain still have values.
var x: Float;
begin
  x := 1;
  Print('ArcCos(1)='); PrintLn(ArcCos(x));
  Print('ArcCosh(1)='); PrintLn(ArcCosh(x));
  Print('LogN(2,1)='); PrintLn(LogN(2, x));
  x := -1;
  Print('ArcSin(-1)='); PrintLn(ArcSin(x));
  x := 0.999999;
  Print('ArcTanh(0.999999)='); PrintLn(ArcTanh(x));
  x := 1.0E-300;
  Print('Log10(1e-300)='); PrintLn(Log10(x));
  Print('Log2(1e-300)='); PrintLn(Log2(x));
  x := 700;
  Print('Sinh(700)='); PrintLn(Sinh(x));
  Print('Cosh(-700)='); PrintLn(Cosh(-x));
  x := 1.0E300;
  Print('Hypot(1e300,1e300)='); PrintLn(Hypot(x, x));
  Print('Tanh(1e300)='); PrintLn(Tanh(x));
  Print('ArcTan(1e300)='); PrintLn(ArcTan(x));
  Print('ArcSinh(1e300)='); PrintLn(ArcSinh(x));
  x := 1.0E-20;
  Print('Cotan(1e-20)='); PrintLn(Cotan(x));
  Print('LogN(0.5,8)='); PrintLn(LogN(0.5, 8));
end.
