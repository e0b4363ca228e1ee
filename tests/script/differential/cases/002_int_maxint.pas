const MaxInt = 2147483647;
var i: Integer;
begin
  i := MaxInt;
  Print('MaxInt='); PrintLn(i);
  i := -MaxInt;
  Print('-MaxInt='); PrintLn(i);
  i := -MaxInt - 1;
  Print('-MaxInt-1='); PrintLn(i);
  i := 2147483647;
  Print('literal max='); PrintLn(i);
  i := -2147483647;
  i := i - 1;
  Print('min by subtraction='); PrintLn(i);
end.
