// The largest Double below one half rounds to 0 (adding one half first would round it up); Dec
// with and without a step.
var i: Integer;
begin
  PrintLn(Round(0.49999999999999994));
  i := 0;
  Dec(i, 3);
  Dec(i);
  PrintLn(i);
end.
