var s: string;
begin
  s := #72#105;
  PrintLn(s);
  s := 'A'#66'C';
  PrintLn(s);
  s := #39;
  PrintLn(s);
  PrintLn(Length(#13#10));
  PrintLn(Ord(#32));
  s := 'line1'#13#10'line2';
  PrintLn(s);
  PrintLn(Pos(#10, s));
end.
