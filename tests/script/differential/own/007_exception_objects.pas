// Exception classes of the script: a user class caught by its parent's handler, is and as,
// ClassName, a writable Message, an object kept after its handler, the else part of a handler
// list, a constructor called as a statement, and raise without an object in a bare handler.
type
  EMy = class(Exception);
  ESub = class(EMy);
var saved: Exception;
  z: Integer;
begin
  try
    raise ESub.Create('m');
  except
    on E: EConvertError do PrintLn('no');
    on E: EMy do
    begin
      PrintLn(E is ESub);
      PrintLn((E as EMy).Message + E.ClassName);
    end;
  end;
  try
    try
      raise EConvertError.Create('inner');
    except
      raise;
    end;
  except
    on E: Exception do PrintLn(E.ClassName + ': ' + E.Message);
  end;
  try
    raise Exception.Create('a');
  except
    on E: Exception do
    begin
      E.Message := 'z';
      PrintLn(E.Message);
    end;
  end;
  try
    raise Exception.Create('kept');
  except
    on E: Exception do saved := E;
  end;
  PrintLn(saved.Message);
  PrintLn(saved <> nil);
  try
    z := 1 div z;
  except
    on E: EConvertError do PrintLn('no');
  else
    PrintLn('else');
  end;
  Exception.Create('dropped');
  PrintLn('on');
end.
