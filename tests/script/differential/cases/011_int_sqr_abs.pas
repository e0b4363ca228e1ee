const MaxInt = 2147483647;
var i: Integer;
begin
  i := -12;
  Print('Sqr(-12)='); PrintLn(Sqr(i));
  Print('Abs(-12)='); PrintLn(Abs(i));
  i := 12;
  Print('Abs(12)='); PrintLn(Abs(i));
  i := 0;
  Print('Abs(0)='); PrintLn(Abs(i));
  i := 46340;
  Print('Sqr(46340)='); PrintLn(Sqr(i));
  i := -MaxInt;
  Print('Abs(-MaxInt)='); PrintLn(Abs(i));
end.
