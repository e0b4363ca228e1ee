var i: Integer;
  x: Float;
begin
  Print('1+2*3.5/7-1='); PrintLn(1 + 2 * 3.5 / 7 - 1);
  i := 7;
  x := 0.5;
  Print('i*x+i/2='); PrintLn(i * x + i / 2);
  Print('i div 2*x='); PrintLn(i div 2 * x);
  Print('(i+x)*(i-x)='); PrintLn((i + x) * (i - x));
  Print('-i/4+x='); PrintLn(-i / 4 + x);
  Print('i mod 4/2='); PrintLn(i mod 4 / 2);
end.
