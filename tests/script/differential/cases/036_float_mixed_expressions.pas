var a, b: Float;
  i: Integer;
begin
  a := 2.5;
  i := 4;
  Print('a*i='); PrintLn(a * i);
  Print('i/a='); PrintLn(i / a);
  Print('a+i='); PrintLn(a + i);
  Print('i-a='); PrintLn(i - a);
  b := i;
  Print('b='); PrintLn(b);
  b := i * i + a;
  Print('i*i+a='); PrintLn(b);
  b := (a + 1) * (a - 1);
  Print('(a+1)(a-1)='); PrintLn(b);
  b := a * a - 1;
  Print('a*a-1='); PrintLn(b);
end.
