var i, count: Integer;
  flag: Boolean;
begin
  count := 0;
  flag := False;
  while flag do
    count := count + 1;
  PrintLn(count);
  i := 10;
  while i < 0 do
    i := i - 1;
  PrintLn(i);
  repeat
    count := count + 1;
  until not flag;
  PrintLn(count);
end.
