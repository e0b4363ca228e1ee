// Integer arithmetic wraps around silently: there are no overflow checks.
const MaxInt = 2147483647;
var i, j: Integer;
begin
  i := MaxInt;
  i := i + 1;
  Print('MaxInt+1='); PrintLn(i);
  i := -MaxInt - 1;
  i := i - 1;
  Print('MinInt-1='); PrintLn(i);
  i := MaxInt;
  j := MaxInt;
  i := i + j;
  Print('MaxInt+MaxInt='); PrintLn(i);
  i := -MaxInt - 1;
  j := -MaxInt - 1;
  i := i + j;
  Print('MinInt+MinInt='); PrintLn(i);
  i := MaxInt;
  i := i + 1;
  i := i - 1;
  Print('back='); PrintLn(i);
end.
