const MaxInt = 2147483647;
var i, j: Integer;
begin
  i := -MaxInt - 1;
  j := -i;
  Print('-MinInt='); PrintLn(j);
  i := MaxInt;
  j := -i;
  Print('-MaxInt='); PrintLn(j);
  i := 0;
  j := -i;
  Print('-0='); PrintLn(j);
  j := -(-(7));
  Print('--7='); PrintLn(j);
  j := 3 - -4;
  Print('3- -4='); PrintLn(j);
end.
