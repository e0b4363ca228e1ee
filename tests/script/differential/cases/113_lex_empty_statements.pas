var i: Integer;
begin
  ;
  i := 1;;
  begin
  end;
  begin
    i := i + 1;
  end;
  if i = 2 then
  begin
  end
  else
    i := 100;
  for i := 1 to 3 do ;
  PrintLn('empty statements compile');
  i := 5;
  PrintLn(i);
end.
