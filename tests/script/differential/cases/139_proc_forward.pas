procedure Second(n: Integer); forward;

procedure First(n: Integer);
begin
  PrintLn('first ' + IntToStr(n));
  if n > 0 then
    Second(n - 1);
end;

procedure Second(n: Integer);
begin
  PrintLn('second ' + IntToStr(n));
  if n > 0 then
    First(n - 1);
end;

begin
  First(4);
end.
