var n, sum, rev: Integer;
begin
  n := 987654321;
  sum := 0;
  rev := 0;
  while n > 0 do
  begin
    sum := sum + n mod 10;
    rev := rev * 10 + n mod 10;
    n := n div 10;
  end;
  Print('digit sum='); PrintLn(sum);
  Print('reversed='); PrintLn(rev);
  n := 1000000000;
  Print('10^9 div 7='); PrintLn(n div 7);
  Print('10^9 mod 7='); PrintLn(n mod 7);
end.
