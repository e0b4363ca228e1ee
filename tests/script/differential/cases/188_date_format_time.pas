var t: Float;
begin
  t := EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 59, 999);
  PrintLn(FormatDateTime('dd.mm.yyyy hh:nn:ss.zzz', t));
  t := EncodeDate(2024, 1, 5) + EncodeTime(7, 8, 9, 10);
  PrintLn(FormatDateTime('hh:nn:ss', t));
  PrintLn(FormatDateTime('h:n:s', t));
  PrintLn(FormatDateTime('hh:mm', t));
  PrintLn(FormatDateTime('dd.mm.yyyy hh:nn', t));
  PrintLn(FormatDateTime('zzz', t));
  t := EncodeDate(2024, 1, 5) + 0.5;
  PrintLn(FormatDateTime('dd.mm.yyyy hh:nn:ss', t));
end.
