begin
  PrintLn(EncodeTime(12, 0, 0, 0));
  PrintLn(EncodeTime(6, 0, 0, 0));
  PrintLn(EncodeTime(0, 30, 0, 0));
  PrintLn(EncodeTime(0, 0, 1, 0));
  PrintLn(EncodeTime(0, 0, 0, 1));
  PrintLn(EncodeTime(23, 59, 59, 999));
  PrintLn(EncodeTime(0, 0, 0, 0));
  PrintLn(EncodeDate(2024, 1, 1) + EncodeTime(18, 0, 0, 0));
end.
