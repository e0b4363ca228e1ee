function Grade(score: Integer): string;
begin
  if score >= 90 then
    Result := 'A'
  else if score >= 80 then
    Result := 'B'
  else if score >= 70 then
    Result := 'C'
  else if score >= 60 then
    Result := 'D'
  else
    Result := 'F';
end;

var s: Integer;
begin
  s := 100;
  while s >= 50 do
  begin
    PrintLn(IntToStr(s) + ' ' + Grade(s));
    s := s - 7;
  end;
end.
