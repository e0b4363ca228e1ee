var x, y, z: Float;
begin
  x := 0.1;
  y := 0.2;
  z := 0.3;
  Print('0.1+0.2=0.3 '); PrintLn(x + y = z);
  Print('0.1+0.2>0.3 '); PrintLn(x + y > z);
  Print('0.1+0.2<>0.3 '); PrintLn(x + y <> z);
  x := 0.5;
  y := 0.25;
  Print('0.25+0.25=0.5 '); PrintLn(y + y = x);
  Print('0.5<0.25 '); PrintLn(x < y);
  Print('0.5>=0.5 '); PrintLn(x >= x);
  Print('1.0=1 '); PrintLn(1.0 = 1);
  x := -0.0;
  Print('-0.0=0 '); PrintLn(x = 0);
end.
