try
  raise Exception.Create('a');
except
  try
    raise Exception.Create('b');
  except
    on E: Exception do PrintLn('inner ' + E.Message);
  end;
  PrintLn('outer done');
end;
