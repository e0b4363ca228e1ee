const MaxInt = 2147483647;
var i: Integer;
begin
  i := 10;
  Inc(i);
  Print('Inc='); PrintLn(i);
  Inc(i, 5);
  Print('Inc 5='); PrintLn(i);
  Inc(i, -20);
  Print('Inc -20='); PrintLn(i);
  i := MaxInt;
  Inc(i);
  Print('Inc MaxInt='); PrintLn(i);
  i := 0;
  Inc(i, 0);
  Print('Inc 0='); PrintLn(i);
end.
