// DayOfWeek, IncMonth, IsLeapYear and EncodeTime at the edges of their arguments.
var y, m, d: Integer;
  s: string;
  i: Integer;
procedure Show(t: Float);
begin
  DecodeDate(t, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
end;
begin
  s := '';
  for i := 0 to 13 do
    s := s + IntToStr(DayOfWeek(i));
  PrintLn(s);
  PrintLn(DayOfWeek(EncodeDate(1, 1, 1)));
  PrintLn(DayOfWeek(EncodeDate(9999, 12, 31)));
  Show(IncMonth(EncodeDate(2024, 1, 31)));
  Show(IncMonth(EncodeDate(2024, 3, 31), -1200));
  Show(IncMonth(EncodeDate(2000, 2, 29), 1200));
  Show(IncMonth(EncodeDate(2024, 12, 31), -12));
  Show(IncMonth(EncodeDate(1, 1, 1), 0));
  PrintLn(IsLeapYear(1600));
  PrintLn(IsLeapYear(1700));
  PrintLn(IsLeapYear(4));
  PrintLn(IsLeapYear(1));
  PrintLn(EncodeTime(23, 0, 0, 0) + EncodeTime(0, 59, 59, 999));
  try
    PrintLn(EncodeTime(0, 0, 60, 0));
  except
    on E: Exception do PrintLn('invalid second');
  end;
  try
    PrintLn(EncodeTime(0, 0, 0, 1000));
  except
    on E: Exception do PrintLn('invalid millisecond');
  end;
  i := -1;
  try
    PrintLn(EncodeTime(i, 0, 0, 0));
  except
    on E: Exception do PrintLn('invalid hour');
  end;
end.
