var i, sum, prod: Integer;
begin
  sum := 0;
  for i := 1 to 1000 do
    sum := sum + i;
  Print('sum 1..1000='); PrintLn(sum);
  prod := 1;
  for i := 1 to 12 do
    prod := prod * i;
  Print('12!='); PrintLn(prod);
  prod := 1;
  for i := 1 to 13 do
    prod := prod * i;
  Print('13! wrapped='); PrintLn(prod);
  sum := 0;
  for i := 1 to 100 do
    sum := sum - i * i;
  Print('-sum squares='); PrintLn(sum);
end.
