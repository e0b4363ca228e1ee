const MaxInt = 2147483647;
var a, b, c: Integer;
begin
  a := 100000;
  b := 100000;
  c := a * b;
  Print('1e5*1e5='); PrintLn(c);
  a := 65536;
  c := a * a;
  Print('65536^2='); PrintLn(c);
  a := 46341;
  c := a * a;
  Print('46341^2='); PrintLn(c);
  a := 46340;
  c := a * a;
  Print('46340^2='); PrintLn(c);
  a := -MaxInt - 1;
  b := -1;
  c := a * b;
  Print('MinInt*-1='); PrintLn(c);
  a := 123456789;
  b := 987;
  c := a * b;
  Print('123456789*987='); PrintLn(c);
end.
