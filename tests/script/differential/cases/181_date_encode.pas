begin
  PrintLn(EncodeDate(1899, 12, 30));
  PrintLn(EncodeDate(1900, 1, 1));
  PrintLn(EncodeDate(2000, 1, 1));
  PrintLn(EncodeDate(2024, 2, 29));
  PrintLn(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 1));
  PrintLn(EncodeDate(2023, 3, 1) - EncodeDate(2023, 2, 1));
  PrintLn(EncodeDate(2025, 1, 1) - EncodeDate(2024, 1, 1));
  PrintLn(EncodeDate(1, 1, 1));
  PrintLn(EncodeDate(9999, 12, 31));
end.
