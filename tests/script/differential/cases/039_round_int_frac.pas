var x: Float;
begin
  x := 3.75;
  Print('Int(3.75)='); PrintLn(Int(x));
  Print('Frac(3.75)='); PrintLn(Frac(x));
  x := -3.75;
  Print('Int(-3.75)='); PrintLn(Int(x));
  Print('Frac(-3.75)='); PrintLn(Frac(x));
  x := 5.0;
  Print('Int(5)='); PrintLn(Int(x));
  Print('Frac(5)='); PrintLn(Frac(x));
  x := 1.0E20;
  Print('Int(1e20)='); PrintLn(Int(x));
  Print('Frac(1e20)='); PrintLn(Frac(x));
  x := 0.1;
  Print('Frac(0.1)='); PrintLn(Frac(x));
  x := 123.456;
  Print('Frac(123.456)='); PrintLn(Frac(x));
  Print('Int+Frac='); PrintLn(Int(x) + Frac(x));
end.
