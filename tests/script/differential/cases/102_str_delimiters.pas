begin
  PrintLn(LastDelimiter('.\', 'c:\dir.x\file.txt'));
  PrintLn(LastDelimiter('\', 'c:\dir.x\file.txt'));
  PrintLn(LastDelimiter('/', 'c:\dir.x\file.txt'));
  PrintLn(LastDelimiter(',;', 'a,b;c,d'));
  PrintLn(IsDelimiter('.\', 'a.b', 2));
  PrintLn(IsDelimiter('.\', 'a.b', 1));
  PrintLn(IsDelimiter(',', 'a,b', 3));
  PrintLn(Copy('file.txt', LastDelimiter('.', 'file.txt') + 1, 10));
end.
