// The else belongs to the nearest if.
procedure Check(a, b: Integer);
begin
  if a > 0 then
    if b > 0 then
      PrintLn('both positive')
    else
      PrintLn('a positive, b not');
  if a > 0 then
  begin
    if b > 0 then
      PrintLn('block: both positive');
  end
  else
    PrintLn('block: a not positive');
end;

begin
  Check(1, 1);
  PrintLn('--');
  Check(1, -1);
  PrintLn('--');
  Check(-1, 1);
  PrintLn('--');
  Check(-1, -1);
end.
