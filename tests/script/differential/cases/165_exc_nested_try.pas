begin
  try
    try
      raise Exception.Create('inner');
    except
      on E: Exception do PrintLn('inner handler: ' + E.Message);
    end;
    PrintLn('between');
    try
      raise Exception.Create('second');
    except
      on E: Exception do
      begin
        PrintLn('second handler: ' + E.Message);
        raise Exception.Create('from handler');
      end;
    end;
    PrintLn('not reached');
  except
    on E: Exception do PrintLn('outer handler: ' + E.Message);
  end;
end.
