const MaxInt = 2147483647;
var a, b: Integer;
begin
  a := MaxInt; b := 1;
  Print('MaxInt div 1='); PrintLn(a div b);
  b := MaxInt;
  Print('MaxInt div MaxInt='); PrintLn(a div b);
  Print('MaxInt mod MaxInt='); PrintLn(a mod b);
  a := -MaxInt - 1; b := 2;
  Print('MinInt div 2='); PrintLn(a div b);
  Print('MinInt mod 2='); PrintLn(a mod b);
  b := MaxInt;
  Print('MinInt div MaxInt='); PrintLn(a div b);
  Print('MinInt mod MaxInt='); PrintLn(a mod b);
  b := 10;
  Print('MinInt mod 10='); PrintLn(a mod b);
  a := MaxInt; b := -10;
  Print('MaxInt div -10='); PrintLn(a div b);
  Print('MaxInt mod -10='); PrintLn(a mod b);
end.
