var y: Integer;
  s: string;
begin
  PrintLn(IsLeapYear(1900));
  PrintLn(IsLeapYear(2000));
  PrintLn(IsLeapYear(2023));
  PrintLn(IsLeapYear(2024));
  PrintLn(IsLeapYear(2100));
  PrintLn(IsLeapYear(2400));
  s := '';
  for y := 1990 to 2030 do
    if IsLeapYear(y) then
      s := s + IntToStr(y) + ' ';
  PrintLn(s);
end.
