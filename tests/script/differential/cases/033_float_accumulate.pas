var sum, step: Float;
  i: Integer;
begin
  sum := 0;
  step := 0.1;
  for i := 1 to 10 do
    sum := sum + step;
  Print('ten tenths='); PrintLn(sum);
  Print('equals 1 '); PrintLn(sum = 1);
  Print('below 1 '); PrintLn(sum < 1);
  sum := 0;
  for i := 1 to 1000 do
    sum := sum + step;
  Print('thousand tenths='); PrintLn(sum);
  sum := 0;
  for i := 1 to 100 do
    sum := sum + 1 / i;
  Print('harmonic 100='); PrintLn(sum);
end.
