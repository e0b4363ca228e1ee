// The handler variable can have any name, in any letter case.
begin
  try
    raise Exception.Create('a');
  except
    on Err: Exception do PrintLn('Err ' + Err.Message);
  end;
  try
    raise Exception.Create('b');
  except
    on e: exception do PrintLn('e ' + e.message);
  end;
  try
    raise Exception.Create('c');
  except
    on Problem: Exception do PrintLn('Problem ' + Problem.MESSAGE);
  end;
end.
