var i: Integer;
  s: string;
begin
  PrintLn(Chr(65));
  PrintLn(Ord('A'));
  PrintLn(Ord('a') - Ord('A'));
  PrintLn(Ord(Chr(100)));
  s := '';
  for i := 0 to 9 do
    s := s + Chr(Ord('0') + i);
  PrintLn(s);
  s := '';
  for i := 0 to 25 do
    s := s + Chr(Ord('a') + i);
  PrintLn(s);
  PrintLn('tab<' + Chr(9) + '>');
  PrintLn(Ord(' '));
end.
