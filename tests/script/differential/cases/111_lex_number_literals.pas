var x: Float;
  i: Integer;
begin
  i := 0;
  PrintLn(i);
  i := 000123;
  PrintLn(i);
  i := $ABCDEF;
  PrintLn(i);
  i := $abcdef;
  PrintLn(i);
  x := 0.5;
  PrintLn(x);
  x := 10.25e1;
  PrintLn(x);
  x := 5.0E-1;
  PrintLn(x);
  x := 123.0;
  PrintLn(x);
end.
