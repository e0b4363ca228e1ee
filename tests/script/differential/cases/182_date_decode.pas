var y, m, d: Integer;
  t: Float;
begin
  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
  DecodeDate(45000, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
  DecodeDate(0, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
  t := EncodeDate(2023, 12, 31) + 0.75;
  DecodeDate(t, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
  DecodeDate(t + 1, y, m, d);
  PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));
end.
