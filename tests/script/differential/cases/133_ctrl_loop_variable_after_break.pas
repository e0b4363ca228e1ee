// After break the loop variable keeps the value it had.
var i, last: Integer;
begin
  for i := 1 to 10 do
  begin
    last := i;
    if i = 4 then break;
  end;
  PrintLn(i);
  PrintLn(last);
  for i := 10 downto 1 do
    if i = 6 then break;
  PrintLn(i);
end.
