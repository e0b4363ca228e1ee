var x: Float;
  i: Integer;
begin
  x := 1;
  for i := 1 to 20 do
  begin
    x := x * 10;
    PrintLn(x);
  end;
  x := 1;
  for i := 1 to 10 do
  begin
    x := x / 10;
    PrintLn(x);
  end;
end.
