var moves: Integer;
  trace: string;
procedure Hanoi(n: Integer; src, dst, via: string);
begin
  if n = 0 then Exit;
  Hanoi(n - 1, src, via, dst);
  moves := moves + 1;
  if moves <= 7 then
    trace := trace + src + dst + ' ';
  Hanoi(n - 1, via, dst, src);
end;
begin
  moves := 0;
  trace := '';
  Hanoi(3, 'A', 'C', 'B');
  PrintLn(moves);
  PrintLn(trace);
  moves := 0;
  Hanoi(10, 'A', 'C', 'B');
  PrintLn(moves);
end.
