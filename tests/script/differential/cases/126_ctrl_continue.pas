var i, sum: Integer;
  s: string;
begin
  s := '';
  for i := 1 to 10 do
  begin
    if i mod 3 = 0 then continue;
    s := s + IntToStr(i);
  end;
  PrintLn(s);
  i := 0;
  sum := 0;
  while i < 10 do
  begin
    i := i + 1;
    if i mod 2 = 1 then continue;
    sum := sum + i;
  end;
  PrintLn(sum);
  i := 0;
  s := '';
  repeat
    i := i + 1;
    if i = 2 then continue;
    s := s + IntToStr(i);
  until i >= 4;
  PrintLn(s);
end.
