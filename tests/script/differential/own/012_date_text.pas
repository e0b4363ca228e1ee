// Date-times as text in the engine's fixed formats (dd.mm.yyyy, hh:nn:ss) and back, two-digit and
// missing years counted from today, and the clock functions agreeing with each other.
var t, n, d, tm: Float;
  y, m, dd: Integer;
begin
  t := EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 10);
  PrintLn(DateToStr(t));
  PrintLn(TimeToStr(t));
  PrintLn(DateTimeToStr(t));
  PrintLn(DateTimeToStr(Int(t)));
  PrintLn(DateTimeToStr(Int(t) + EncodeTime(0, 0, 0, 1)));
  PrintLn(DateTimeToStr(0.5));
  PrintLn(TimeToStr(EncodeTime(23, 59, 59, 999)));
  PrintLn(FormatDateTime('c|t|tt|ddddd', t));
  PrintLn(FormatDateTime('d/m/yy', t));
  PrintLn(FormatDateTime('tt am/pm', t + 0.5));
  PrintLn(DateToStr(-1.25) + ' ' + TimeToStr(-1.25));
  PrintLn(FormatDateTime('hh:nn:ss.zzz', Int(t) + 0.9999999999));
  PrintLn(StrToDate('09.02.2024') = EncodeDate(2024, 2, 9));
  PrintLn(StrToDate(' 9.2.2024 ') = EncodeDate(2024, 2, 9));
  PrintLn(StrToDate('29.02.2024') = EncodeDate(2024, 2, 29));
  PrintLn(StrToTime('7:08') = EncodeTime(7, 8, 0, 0));
  PrintLn(StrToTime('07:08:09') = EncodeTime(7, 8, 9, 0));
  PrintLn(StrToTime('7:08:09.250') = EncodeTime(7, 8, 9, 250));
  PrintLn(StrToDateTime('09.02.2024 07:08:09') = EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 0));
  PrintLn(StrToDateTime('09.02.2024') = EncodeDate(2024, 2, 9));
  PrintLn(DateTimeToStr(StrToDateTime(DateTimeToStr(t))));
  DecodeDate(Date, y, m, dd);
  PrintLn(StrToDate('1.1.' + Copy(IntToStr(y), 3, 2)) = EncodeDate(y, 1, 1));
  PrintLn(StrToDate('1.1') = EncodeDate(y, 1, 1));
  PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 49), 3, 2)) = EncodeDate(y + 49, 1, 1));
  PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 51), 3, 2)) = EncodeDate(y - 49, 1, 1));
  d := Date;
  tm := Time;
  n := Now;
  PrintLn(d = Int(d));
  PrintLn((tm >= 0) and (tm < 1));
  PrintLn(Abs(n - (d + tm)) < 1 / 86400);
  PrintLn(d > EncodeDate(2020, 1, 1));
end.
