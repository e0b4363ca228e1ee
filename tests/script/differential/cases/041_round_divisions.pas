var a, b: Integer;
begin
  a := 7; b := 2;
  Print('Trunc(7/2)='); PrintLn(Trunc(a / b));
  Print('Round(7/2)='); PrintLn(Round(a / b));
  a := 5;
  Print('Round(5/2)='); PrintLn(Round(a / b));
  a := -7;
  Print('Trunc(-7/2)='); PrintLn(Trunc(a / b));
  Print('Round(-7/2)='); PrintLn(Round(a / b));
  a := 2; b := 3;
  Print('Round(2/3)='); PrintLn(Round(a / b));
  Print('Trunc(2/3)='); PrintLn(Trunc(a / b));
  a := 1000; b := 7;
  Print('Round(1000/7)='); PrintLn(Round(a / b));
end.
