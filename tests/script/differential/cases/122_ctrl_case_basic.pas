var i: Integer;
begin
  for i := 0 to 4 do
    case i of
      0: PrintLn('zero');
      1: PrintLn('one');
      2: begin
           Print('two');
           PrintLn('!');
         end;
      3: PrintLn('three');
    end;
  PrintLn('after');
end.
