var s: string;
begin
  PrintLn('It''s');
  PrintLn('''');
  PrintLn('''quoted''');
  PrintLn('two'#13#10'lines');
  PrintLn(#65#66#67);
  PrintLn('a'#9'b');
  s := 'x' + #13#10;
  Print(s);
  PrintLn('end' + #33);
  PrintLn('');
  PrintLn('after empty');
end.
