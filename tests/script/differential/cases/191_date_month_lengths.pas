var m: Integer;
  s: string;
  start: Float;
begin
  s := '';
  for m := 1 to 12 do
  begin
    start := EncodeDate(2023, m, 1);
    s := s + IntToStr(Round(IncMonth(start, 1) - start)) + ' ';
  end;
  PrintLn(s);
  s := '';
  for m := 1 to 12 do
  begin
    start := EncodeDate(2024, m, 1);
    s := s + IntToStr(Round(IncMonth(start, 1) - start)) + ' ';
  end;
  PrintLn(s);
  start := EncodeDate(2024, 1, 1);
  PrintLn(Round(IncMonth(start, 3) - start) * 24);
end.
