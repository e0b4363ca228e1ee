begin
  PrintLn('<' + Trim('  a b  ') + '>');
  PrintLn('<' + TrimLeft('  a b  ') + '>');
  PrintLn('<' + TrimRight('  a b  ') + '>');
  PrintLn('<' + Trim(#9'tab'#9) + '>');
  PrintLn('<' + Trim(#13#10'line'#13#10) + '>');
  PrintLn('<' + Trim('') + '>');
  PrintLn('<' + Trim('     ') + '>');
  PrintLn('<' + TrimLeft('x  ') + '>');
  PrintLn('<' + TrimRight('  x') + '>');
end.
