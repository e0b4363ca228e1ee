function Safe(n: Integer): string;
begin
  Result := 'start';
  try
    if n = 0 then raise Exception.Create('zero');
    Result := 'ok ' + IntToStr(n);
  except
    on E: Exception do
    begin
      Result := 'failed: ' + E.Message;
      Exit;
    end;
  end;
  Result := Result + ' (checked)';
end;

begin
  PrintLn(Safe(3));
  PrintLn(Safe(0));
end.
