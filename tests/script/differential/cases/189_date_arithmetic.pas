var a, b: Float;
  days: Integer;
begin
  a := EncodeDate(2024, 1, 1);
  b := EncodeDate(2024, 12, 31);
  days := Trunc(b - a) + 1;
  PrintLn(days);
  b := a + 0.5;
  PrintLn(FormatDateTime('dd.mm.yyyy hh:nn', b));
  b := a + 1 / 48;
  PrintLn(FormatDateTime('dd.mm.yyyy hh:nn', b));
  b := a - 1;
  PrintLn(FormatDateTime('dd.mm.yyyy', b));
  PrintLn((EncodeDate(2024, 4, 1) - EncodeDate(2024, 1, 1)) * 24);
  PrintLn((EncodeDate(2023, 2, 1) - EncodeDate(2023, 1, 1)) * 24);
  PrintLn(EncodeTime(0, 30, 0, 0) * 24);
end.
