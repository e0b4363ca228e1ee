var x: Float;
begin
  x := 1;
  Print('ArcTan(1)='); PrintLn(ArcTan(x));
  Print('4*ArcTan(1)='); PrintLn(4 * ArcTan(x));
  x := -1;
  Print('ArcTan(-1)='); PrintLn(ArcTan(x));
  x := 0;
  Print('ArcTan(0)='); PrintLn(ArcTan(x));
  x := 1.0E10;
  Print('ArcTan(1e10)='); PrintLn(ArcTan(x));
  x := 0.5;
  Print('ArcTan(0.5)='); PrintLn(ArcTan(x));
  Print('ArcSin(0.5)='); PrintLn(ArcSin(x));
  Print('ArcCos(0.5)='); PrintLn(ArcCos(x));
  x := 1;
  Print('ArcSin(1)='); PrintLn(ArcSin(x));
  x := -1;
  Print('ArcCos(-1)='); PrintLn(ArcCos(x));
end.
