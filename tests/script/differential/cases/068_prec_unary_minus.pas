var x, y: Integer;
  f: Float;
begin
  x := 3;
  y := 4;
  Print('-x*y='); PrintLn(-x * y);
  Print('-x+y='); PrintLn(-x + y);
  Print('-(x+y)='); PrintLn(-(x + y));
  Print('x*-y='); PrintLn(x * -y);
  Print('-x*-y='); PrintLn(-x * -y);
  Print('x--y='); PrintLn(x - -y);
  Print('-x div 2='); PrintLn(-x div 2);
  Print('-x mod 2='); PrintLn(-x mod 2);
  f := 2.5;
  Print('-f*2='); PrintLn(-f * 2);
  Print('-f/-0.5='); PrintLn(-f / -0.5);
end.
