begin
  PrintLn(UpperCase('aBc1_z'));
  PrintLn(LowerCase('AbC1_Z'));
  PrintLn(UpperCase(''));
  PrintLn(UpperCase('already UP'));
  PrintLn(LowerCase('MiXeD CaSe 123 !?'));
  PrintLn(AnsiUpperCase('ansi text'));
  PrintLn(AnsiLowerCase('ANSI TEXT'));
  PrintLn(UpperCase(LowerCase('Round Trip')));
end.
