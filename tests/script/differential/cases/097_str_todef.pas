begin
  PrintLn(StrToIntDef('42', 0));
  PrintLn(StrToIntDef('12x', -1));
  PrintLn(StrToIntDef('', 7));
  PrintLn(StrToIntDef('-3', 7));
  PrintLn(StrToFloatDef('2.5', 0));
  PrintLn(StrToFloatDef('x', 1.5));
  PrintLn(StrToFloatDef('', -1));
  PrintLn(StrToFloatDef('1e2', 0));
end.
