var x: Float;
begin
  x := 1;
  Print('ArcSinh(1)='); PrintLn(ArcSinh(x));
  Print('ArcCosh(1)='); PrintLn(ArcCosh(x));
  x := 2;
  Print('ArcCosh(2)='); PrintLn(ArcCosh(x));
  x := 0.5;
  Print('ArcTanh(0.5)='); PrintLn(ArcTanh(x));
  x := -3;
  Print('ArcSinh(-3)='); PrintLn(ArcSinh(x));
  x := 1.5;
  Print('Cosh(ArcCosh(1.5))='); PrintLn(Cosh(ArcCosh(x)));
end.
