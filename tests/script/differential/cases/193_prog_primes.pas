var sieve: array[2..100] of Boolean;
  i, j, count: Integer;
  s: string;
begin
  for i := 2 to 100 do
    sieve[i] := True;
  for i := 2 to 10 do
    if sieve[i] then
    begin
      j := i * i;
      while j <= 100 do
      begin
        sieve[j] := False;
        j := j + i;
      end;
    end;
  count := 0;
  s := '';
  for i := 2 to 100 do
    if sieve[i] then
    begin
      count := count + 1;
      if count <= 10 then s := s + IntToStr(i) + ' ';
    end;
  PrintLn(s);
  PrintLn(count);
end.
