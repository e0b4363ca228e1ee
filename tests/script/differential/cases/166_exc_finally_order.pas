begin
  try
    PrintLn('1 body');
  finally
    PrintLn('2 finally');
  end;
  try
    try
      PrintLn('3 body');
      raise Exception.Create('x');
    finally
      PrintLn('4 finally runs before the handler');
    end;
  except
    on E: Exception do PrintLn('5 handler ' + E.Message);
  end;
  try
    try
      try
        raise Exception.Create('deep');
      finally
        PrintLn('6 inner finally');
      end;
    finally
      PrintLn('7 outer finally');
    end;
  except
    on E: Exception do PrintLn('8 handler ' + E.Message);
  end;
end.
