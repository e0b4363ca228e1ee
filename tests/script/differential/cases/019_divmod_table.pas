var a, b: Integer;
  line: string;
begin
  for a := -5 to 5 do
  begin
    line := IntToStr(a) + ':';
    for b := -3 to 3 do
      if b <> 0 then
        line := line + ' ' + IntToStr(a div b) + '/' + IntToStr(a mod b);
    PrintLn(line);
  end;
end.
