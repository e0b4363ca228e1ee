var a, b, c: Float;
begin
  Print('2-3-4='); PrintLn(2 - 3 - 4);
  Print('64 div 4 div 2='); PrintLn(64 div 4 div 2);
  Print('2/4/8='); PrintLn(2 / 4 / 8);
  Print('100 mod 7 mod 3='); PrintLn(100 mod 7 mod 3);
  Print('20 div 3 * 3='); PrintLn(20 div 3 * 3);
  a := 1.0E16;
  b := -1.0E16;
  c := 1;
  Print('(a+b)+c='); PrintLn(a + b + c);
  Print('a+(b+c)='); PrintLn(a + (b + c));
end.
