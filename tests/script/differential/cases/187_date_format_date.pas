var t: Float;
begin
  t := EncodeDate(2024, 2, 9);
  PrintLn(FormatDateTime('dd.mm.yyyy', t));
  PrintLn(FormatDateTime('d.m.yy', t));
  PrintLn(FormatDateTime('yyyy-mm-dd', t));
  PrintLn(FormatDateTime('yyyymmdd', t));
  PrintLn(FormatDateTime('"Date:" dd.mm.yyyy', t));
  PrintLn(FormatDateTime('''day'' d', t));
  t := EncodeDate(1999, 12, 31);
  PrintLn(FormatDateTime('dd.mm.yyyy', t));
  PrintLn(FormatDateTime('yy', t));
end.
