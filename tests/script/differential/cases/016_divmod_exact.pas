var a, b: Integer;
begin
  a := 12; b := 4;
  Print('12 div 4='); PrintLn(a div b);
  Print('12 mod 4='); PrintLn(a mod b);
  a := -12; b := 4;
  Print('-12 div 4='); PrintLn(a div b);
  Print('-12 mod 4='); PrintLn(a mod b);
  a := 0; b := -5;
  Print('0 div -5='); PrintLn(a div b);
  Print('0 mod -5='); PrintLn(a mod b);
  a := 3; b := 5;
  Print('3 div 5='); PrintLn(a div b);
  Print('3 mod 5='); PrintLn(a mod b);
  a := -3; b := 5;
  Print('-3 div 5='); PrintLn(a div b);
  Print('-3 mod 5='); PrintLn(a mod b);
end.
