procedure Fail(const text: string);
begin
  raise Exception.Create(text);
end;

begin
  try
    Fail('first');
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    Fail('');
  except
    on E: Exception do PrintLn('<' + E.Message + '>');
  end;
  try
    Fail('value ' + IntToStr(42) + ' out of range');
  except
    on E: Exception do
    begin
      Print('length ');
      PrintLn(Length(E.Message));
      PrintLn(E.message);
    end;
  end;
end.
