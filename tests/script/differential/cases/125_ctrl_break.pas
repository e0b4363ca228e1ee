var i, found: Integer;
begin
  found := -1;
  for i := 1 to 100 do
    if i * i > 50 then
    begin
      found := i;
      break;
    end;
  PrintLn(found);
  i := 0;
  while True do
  begin
    i := i + 1;
    if i = 7 then break;
  end;
  PrintLn(i);
  i := 0;
  repeat
    i := i + 1;
    if i = 3 then break;
  until i > 10;
  PrintLn(i);
end.
