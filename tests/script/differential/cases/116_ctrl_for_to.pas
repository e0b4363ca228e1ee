var i, sum: Integer;
  s: string;
begin
  s := '';
  for i := 1 to 5 do
    s := s + IntToStr(i);
  PrintLn(s);
  sum := 0;
  for i := -3 to 3 do
    sum := sum + i;
  PrintLn(sum);
  s := '';
  for i := 7 to 7 do
    s := s + 'once';
  PrintLn(s);
  sum := 0;
  for i := 1 to 10 do
  begin
    if i mod 2 = 0 then
      sum := sum + i;
  end;
  PrintLn(sum);
end.
