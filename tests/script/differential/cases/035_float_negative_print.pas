var x: Float;
begin
  x := -0.5;
  PrintLn(x);
  x := -1.0E-7;
  PrintLn(x);
  x := -123.456;
  PrintLn(x);
  x := -1.0E20;
  PrintLn(x);
  x := -99999.99999;
  PrintLn(x);
  x := -0.00001;
  PrintLn(x);
  x := -1.25E-5;
  PrintLn(x);
end.
