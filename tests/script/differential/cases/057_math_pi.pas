var x: Float;
begin
  Print('Pi='); PrintLn(Pi);
  x := Pi;
  Print('2*Pi='); PrintLn(2 * x);
  Print('Pi/4='); PrintLn(x / 4);
  Print('Pi*Pi='); PrintLn(x * x);
  Print('Round(Pi*1000)='); PrintLn(Round(x * 1000));
  Print('Trunc(Pi)='); PrintLn(Trunc(x));
  Print('Frac(Pi)='); PrintLn(Frac(x));
end.
