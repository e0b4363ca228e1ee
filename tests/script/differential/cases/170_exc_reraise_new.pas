// A handler passes the failure on by raising again with the same text.
procedure Inner;
begin
  raise Exception.Create('inner failure');
end;

procedure Middle;
begin
  try
    Inner;
  except
    on E: Exception do
    begin
      PrintLn('middle saw: ' + E.Message);
      raise Exception.Create('middle: ' + E.Message);
    end;
  end;
end;

begin
  try
    Middle;
  except
    on E: Exception do PrintLn('top saw: ' + E.Message);
  end;
end.
