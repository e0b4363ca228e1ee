procedure TryDate(y, m, d: Integer);
begin
  try
    PrintLn(EncodeDate(y, m, d));
  except
    on E: Exception do PrintLn('invalid date ' + IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
  end;
end;

procedure TryTime(h, n, s, ms: Integer);
begin
  try
    PrintLn(EncodeTime(h, n, s, ms));
  except
    on E: Exception do PrintLn('invalid time ' + IntToStr(h) + ':' + IntToStr(n));
  end;
end;

begin
  TryDate(2023, 2, 29);
  TryDate(2024, 2, 29);
  TryDate(2024, 13, 1);
  TryDate(2024, 4, 31);
  TryDate(2024, 0, 10);
  TryDate(2024, 1, 0);
  TryTime(25, 0, 0, 0);
  TryTime(12, 60, 0, 0);
  TryTime(12, 0, 0, 0);
end.
