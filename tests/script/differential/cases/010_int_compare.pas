const MaxInt = 2147483647;
var a, b: Integer;
begin
  a := -5;
  b := 3;
  Print('a<b '); PrintLn(a < b);
  Print('a>b '); PrintLn(a > b);
  Print('a<=a '); PrintLn(a <= a);
  Print('a>=b '); PrintLn(a >= b);
  Print('a=a '); PrintLn(a = a);
  Print('a<>b '); PrintLn(a <> b);
  a := -MaxInt - 1;
  b := MaxInt;
  Print('min<max '); PrintLn(a < b);
  Print('min=max '); PrintLn(a = b);
end.
