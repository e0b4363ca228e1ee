var h, n, s, ms: Integer;
  t: Float;
begin
  DecodeTime(0.5, h, n, s, ms);
  PrintLn(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(s) + '.' + IntToStr(ms));
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  PrintLn(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(s) + '.' + IntToStr(ms));
  t := EncodeDate(2024, 5, 17) + EncodeTime(7, 30, 15, 250);
  DecodeTime(t, h, n, s, ms);
  PrintLn(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(s) + '.' + IntToStr(ms));
  DecodeTime(0, h, n, s, ms);
  PrintLn(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(s) + '.' + IntToStr(ms));
  DecodeTime(0.25 + 1 / 48, h, n, s, ms);
  PrintLn(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(s) + '.' + IntToStr(ms));
end.
