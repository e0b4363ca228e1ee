begin
  PrintLn(StrToFloat('1.5'));
  PrintLn(StrToFloat('-0.25'));
  PrintLn(StrToFloat('1e3'));
  PrintLn(StrToFloat('1E-2'));
  PrintLn(StrToFloat('12'));
  PrintLn(StrToFloat('3.14159'));
  PrintLn(StrToFloat('0.1') + StrToFloat('0.2'));
  PrintLn(StrToFloat('123456789012345678'));
  try
    PrintLn(StrToFloat('abc'));
  except
    on E: Exception do PrintLn('abc raised');
  end;
  try
    PrintLn(StrToFloat(''));
  except
    on E: Exception do PrintLn('empty raised');
  end;
end.
