procedure Show(n: Integer);
begin
  if n < 0 then
  begin
    PrintLn('negative, leaving');
    Exit;
  end;
  PrintLn('value ' + IntToStr(n));
end;

procedure FirstMultiple(k: Integer);
var i: Integer;
begin
  for i := 1 to 100 do
    if i mod k = 0 then
    begin
      PrintLn('first multiple ' + IntToStr(i));
      Exit;
    end;
  PrintLn('none');
end;

begin
  Show(5);
  Show(-1);
  FirstMultiple(7);
  FirstMultiple(1000);
  PrintLn('main continues');
end.
