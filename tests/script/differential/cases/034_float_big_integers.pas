var x: Float;
  i: Integer;
begin
  x := 1;
  for i := 1 to 53 do
    x := x * 2;
  Print('2^53='); PrintLn(x);
  Print('2^53+1='); PrintLn(x + 1);
  Print('2^53+1=2^53 '); PrintLn(x + 1 = x);
  x := 1;
  for i := 1 to 62 do
    x := x * 2;
  Print('2^62='); PrintLn(x);
  x := 1;
  for i := 1 to 25 do
    x := x * i;
  Print('25!='); PrintLn(x);
end.
