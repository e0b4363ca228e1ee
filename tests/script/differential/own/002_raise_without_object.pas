// raise without an exception object raises "User defined exception!".
procedure Fail;
begin
  raise;
end;

begin
  try
    raise;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    Fail;
  except
    on E: Exception do PrintLn('from a procedure: ' + E.Message);
  end;
end.
