// An exception leaves every routine between the raise and the handler.
procedure Level3;
begin
  PrintLn('level 3 enter');
  raise Exception.Create('from level 3');
  PrintLn('level 3 leave');
end;

procedure Level2;
begin
  PrintLn('level 2 enter');
  Level3;
  PrintLn('level 2 leave');
end;

function Level1: Integer;
begin
  Result := 1;
  PrintLn('level 1 enter');
  Level2;
  PrintLn('level 1 leave');
end;

begin
  try
    PrintLn(Level1);
  except
    on E: Exception do PrintLn('main: ' + E.Message);
  end;
end.
