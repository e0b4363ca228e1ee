var x: Float;
begin
  x := 2.5;
  PrintLn(FloatToStr(x));
  x := 1 / 3;
  PrintLn(FloatToStr(x));
  x := 1.0E20;
  PrintLn(FloatToStr(x));
  x := -0.00001;
  PrintLn(FloatToStr(x));
  x := 100;
  PrintLn(FloatToStr(x));
  x := 1.0E-7;
  PrintLn(FloatToStr(x));
  PrintLn('v=' + FloatToStr(12.5));
  PrintLn(FloatToStr(7));
end.
