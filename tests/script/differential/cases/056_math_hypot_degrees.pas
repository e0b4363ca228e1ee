var x, y: Float;
begin
  x := 3; y := 4;
  Print('Hypot(3,4)='); PrintLn(Hypot(x, y));
  x := 1; y := 1;
  Print('Hypot(1,1)='); PrintLn(Hypot(x, y));
  x := 1.0E200; y := 1.0E200;
  Print('Hypot(1e200,1e200)='); PrintLn(Hypot(x, y));
  x := -5; y := 12;
  Print('Hypot(-5,12)='); PrintLn(Hypot(x, y));
  x := 180;
  Print('DegToRad(180)='); PrintLn(DegToRad(x));
  x := -90;
  Print('DegToRad(-90)='); PrintLn(DegToRad(x));
  x := 1;
  Print('RadToDeg(1)='); PrintLn(RadToDeg(x));
  x := Pi / 6;
  Print('RadToDeg(Pi/6)='); PrintLn(RadToDeg(x));
  x := 45;
  Print('Sin(DegToRad(45))='); PrintLn(Sin(DegToRad(x)));
end.
