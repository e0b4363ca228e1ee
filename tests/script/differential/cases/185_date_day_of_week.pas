// DayOfWeek counts from Sunday = 1.
var d: Integer;
  s: string;
begin
  PrintLn(DayOfWeek(EncodeDate(2024, 2, 29)));
  PrintLn(DayOfWeek(EncodeDate(1899, 12, 30)));
  PrintLn(DayOfWeek(EncodeDate(2000, 1, 1)));
  PrintLn(DayOfWeek(EncodeDate(2024, 1, 7)));
  PrintLn(DayOfWeek(EncodeDate(2024, 1, 8)));
  s := '';
  for d := 1 to 14 do
    s := s + IntToStr(DayOfWeek(EncodeDate(2023, 10, d)));
  PrintLn(s);
  PrintLn(DayOfWeek(EncodeDate(2024, 6, 15) + 0.99));
end.
