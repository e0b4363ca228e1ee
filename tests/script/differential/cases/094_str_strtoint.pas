begin
  PrintLn(StrToInt('123'));
  PrintLn(StrToInt('-45'));
  PrintLn(StrToInt('+7'));
  PrintLn(StrToInt('0'));
  PrintLn(StrToInt('$1F'));
  PrintLn(StrToInt('2147483647'));
  PrintLn(StrToInt('-2147483648'));
  PrintLn(StrToInt('007'));
  PrintLn(StrToInt('  12'));
  PrintLn(StrToInt(IntToStr(-987)) + 1);
end.
