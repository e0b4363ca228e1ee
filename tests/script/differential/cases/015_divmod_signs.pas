// div truncates toward zero; mod takes the sign of the dividend.
var a, b: Integer;
begin
  a := 7; b := 2;
  Print('7 div 2='); PrintLn(a div b);
  Print('7 mod 2='); PrintLn(a mod b);
  a := -7; b := 2;
  Print('-7 div 2='); PrintLn(a div b);
  Print('-7 mod 2='); PrintLn(a mod b);
  a := 7; b := -2;
  Print('7 div -2='); PrintLn(a div b);
  Print('7 mod -2='); PrintLn(a mod b);
  a := -7; b := -2;
  Print('-7 div -2='); PrintLn(a div b);
  Print('-7 mod -2='); PrintLn(a mod b);
end.
