const MaxInt = 2147483647;
var i, n, count: Integer;
begin
  count := 0;
  for i := 5 to 1 do
    count := count + 1;
  Print('5 to 1: '); PrintLn(count);
  for i := 1 downto 5 do
    count := count + 1;
  Print('1 downto 5: '); PrintLn(count);
  n := 0;
  for i := 1 to n do
    count := count + 1;
  Print('1 to 0: '); PrintLn(count);
  for i := MaxInt to MaxInt - 1 do
    count := count + 1;
  Print('MaxInt to MaxInt-1: '); PrintLn(count);
end.
