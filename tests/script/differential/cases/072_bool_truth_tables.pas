var a, b: Boolean;
  i, j: Integer;
begin
  for i := 0 to 1 do
    for j := 0 to 1 do
    begin
      a := i = 1;
      b := j = 1;
      Print(a); Print(' '); Print(b); Print(': and=');
      Print(a and b); Print(' or=');
      Print(a or b); Print(' xor=');
      Print(a xor b); Print(' not a=');
      PrintLn(not a);
    end;
end.
