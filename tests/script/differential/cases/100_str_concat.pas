var s, t: string;
  i: Integer;
begin
  s := '';
  for i := 1 to 5 do
    s := s + IntToStr(i) + ',';
  PrintLn(s);
  t := s + s;
  PrintLn(t);
  s := 'x';
  for i := 1 to 4 do
    s := s + s;
  PrintLn(s);
  PrintLn(Length(s));
  s := '';
  s := s + '';
  PrintLn('<' + s + '>');
  PrintLn('a' + ' ' + 'b');
end.
