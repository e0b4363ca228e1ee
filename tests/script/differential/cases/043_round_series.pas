var i: Integer;
  x: Float;
  line: string;
begin
  line := '';
  for i := -10 to 10 do
  begin
    x := i / 4;
    line := line + IntToStr(Round(x)) + ' ';
  end;
  PrintLn(line);
  line := '';
  for i := -10 to 10 do
  begin
    x := i / 4;
    line := line + IntToStr(Trunc(x)) + ' ';
  end;
  PrintLn(line);
end.
