begin
  try
    PrintLn('before');
    raise Exception.Create('boom');
    PrintLn('not reached');
  except
    on E: Exception do PrintLn('caught ' + E.Message);
  end;
  PrintLn('after');
end.
