var x: Integer;
  ok: Boolean;
begin
  x := 15;
  ok := (x mod 3 = 0) and (x mod 5 = 0);
  if ok then PrintLn('fizzbuzz') else PrintLn('not fizzbuzz');
  if not ok then PrintLn('wrong') else PrintLn('else of not');
  ok := ((x > 10) or (x < 0)) and not (x = 20);
  PrintLn(ok);
  if (x > 100) or ((x > 10) and (x < 20)) then PrintLn('teen range');
  ok := True;
  ok := ok and (x > 0);
  ok := ok and (x < 10);
  PrintLn(ok);
end.
