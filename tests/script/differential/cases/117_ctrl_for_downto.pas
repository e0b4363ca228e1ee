var i: Integer;
  s: string;
begin
  s := '';
  for i := 5 downto 1 do
    s := s + IntToStr(i);
  PrintLn(s);
  s := '';
  for i := 2 downto -2 do
    s := s + IntToStr(i) + ' ';
  PrintLn(s);
  s := '';
  for i := 3 downto 3 do
    s := s + 'once';
  PrintLn(s);
end.
