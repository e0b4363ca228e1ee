// Results close to zero print in the exponent form.
var x: Float;
begin
  x := Pi;
  Print('Sin(Pi)='); PrintLn(Sin(x));
  x := Pi / 2;
  Print('Cos(Pi/2)='); PrintLn(Cos(x));
  x := 1.0E-8;
  Print('Sin(1e-8)='); PrintLn(Sin(x));
  Print('Tan(1e-8)='); PrintLn(Tan(x));
  Print('1-Cos(1e-8)='); PrintLn(1 - Cos(x));
end.
