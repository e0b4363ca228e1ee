// raise without an exception object raises "User defined exception!", also inside a handler,
// where it does not raise the handled exception again.
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
  try
    try
      raise EConvertError.Create('handled');
    except
      on E: EConvertError do raise;
    end;
  except
    on E: EConvertError do PrintLn('re-raised: ' + E.Message);
    on E: Exception do PrintLn('in a handler: ' + E.Message);
  end;
end.
