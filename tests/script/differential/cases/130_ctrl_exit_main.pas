// Exit in the main block ends the program normally.
var i: Integer;
begin
  for i := 1 to 10 do
  begin
    PrintLn(i);
    if i = 3 then Exit;
  end;
  PrintLn('never printed');
end.
