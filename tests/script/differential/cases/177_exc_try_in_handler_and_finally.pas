begin
  try
    raise Exception.Create('outer');
  except
    on E: Exception do
    begin
      PrintLn('handling ' + E.Message);
      try
        raise Exception.Create('inside handler');
      except
        on E2: Exception do PrintLn('nested ' + E2.Message);
      end;
      PrintLn('still handling ' + E.Message);
    end;
  end;
  try
    PrintLn('body');
  finally
    try
      raise Exception.Create('in finally');
    except
      on E: Exception do PrintLn('caught ' + E.Message);
    end;
  end;
  PrintLn('end');
end.
