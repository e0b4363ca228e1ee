var counter: Integer;
  log: string;
procedure Tick;
begin
  counter := counter + 1;
  log := log + '.';
end;
procedure Reset;
begin
  counter := 0;
  log := '';
end;
begin
  Reset;
  Tick;
  Tick;
  Tick;
  PrintLn(counter);
  PrintLn(log);
  Reset;
  PrintLn(counter);
  PrintLn('<' + log + '>');
end.
