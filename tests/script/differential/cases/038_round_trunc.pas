var x: Float;
begin
  x := 3.7;   Print('Trunc(3.7)='); PrintLn(Trunc(x));
  x := -3.7;  Print('Trunc(-3.7)='); PrintLn(Trunc(x));
  x := 0.9999; Print('Trunc(0.9999)='); PrintLn(Trunc(x));
  x := -0.5;  Print('Trunc(-0.5)='); PrintLn(Trunc(x));
  x := 5.0;   Print('Trunc(5.0)='); PrintLn(Trunc(x));
  x := 2147483647.9; Print('Trunc(2147483647.9)='); PrintLn(Trunc(x));
  x := -2147483648.9; Print('Trunc(-2147483648.9)='); PrintLn(Trunc(x));
  x := 3.7;   Print('Round(3.7)='); PrintLn(Round(x));
  x := -3.7;  Print('Round(-3.7)='); PrintLn(Round(x));
  x := 3.2;   Print('Round(3.2)='); PrintLn(Round(x));
end.
