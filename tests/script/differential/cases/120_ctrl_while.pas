var i, n, steps: Integer;
begin
  i := 0;
  while i < 5 do
    i := i + 2;
  PrintLn(i);
  i := 10;
  while i < 5 do
    i := i + 1;
  PrintLn(i);
  n := 27;
  steps := 0;
  while n <> 1 do
  begin
    if n mod 2 = 0 then
      n := n div 2
    else
      n := 3 * n + 1;
    steps := steps + 1;
  end;
  Print('collatz 27 steps: '); PrintLn(steps);
end.
