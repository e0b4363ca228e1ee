var y, m, d: Integer;
procedure Show(t: Float);
begin
  DecodeDate(t, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
end;
begin
  Show(IncMonth(EncodeDate(2024, 1, 31), 1));
  Show(IncMonth(EncodeDate(2023, 1, 31), 1));
  Show(IncMonth(EncodeDate(2024, 3, 31), -1));
  Show(IncMonth(EncodeDate(2024, 12, 15), 1));
  Show(IncMonth(EncodeDate(2024, 1, 15), -1));
  Show(IncMonth(EncodeDate(2024, 2, 29), 12));
  Show(IncMonth(EncodeDate(2024, 5, 31), 3));
  Show(IncMonth(EncodeDate(2024, 5, 10), 0));
  Show(IncMonth(EncodeDate(2020, 8, 31), -30));
  PrintLn(Frac(IncMonth(EncodeDate(2024, 1, 1) + 0.25, 1)));
end.
