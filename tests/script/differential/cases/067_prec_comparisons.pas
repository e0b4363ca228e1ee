// Comparisons bind loosest, so conditions joined with and/or need parentheses.
var a, b: Integer;
begin
  a := 3;
  b := 5;
  Print('(a<b) and (b<10)='); PrintLn((a < b) and (b < 10));
  Print('(a>b) or (b=5)='); PrintLn((a > b) or (b = 5));
  Print('a+1=4='); PrintLn(a + 1 = 4);
  Print('a*2<b+2='); PrintLn(a * 2 < b + 2);
  Print('(a<b)=True='); PrintLn((a < b) = True);
  Print('(a<b)=(b<a)='); PrintLn((a < b) = (b < a));
  Print('not (a=b)='); PrintLn(not (a = b));
  Print('(a<>b)<>(a<b)='); PrintLn((a <> b) <> (a < b));
end.
